#include "platform/qt/icons.h"

#include "platform/dialog_template.h"

#include <QCoreApplication>
#include <QPainter>

#include <map>
#include <optional>

namespace zarven::qt {
namespace {

// The sizes embedded in the program (platform/qt/CMakeLists.txt). A window manager gets every
// size of a window's icon, decoded, so the desktop-sized artwork is left out.
constexpr int kArtworkSizes[] = {16, 24, 32, 48, 64};

struct IconEntry {
    const IconResource* resource;
    std::optional<QIcon> icon;  // built on first use, dropped with the application
};

// Entries are never removed, so their addresses serve as handles.
std::map<UINT, IconEntry>& Entries() {
    static std::map<UINT, IconEntry> entries;
    return entries;
}

IconEntry* EntryOfHandle(HICON handle) {
    for (auto& [id, entry] : Entries()) {
        if (reinterpret_cast<HICON>(&entry) == handle) {
            return &entry;
        }
    }
    return nullptr;
}

bool dropScheduled = false;

// Pixmaps must not outlive the application that made them: dropped when it is destroyed.
void DropBuiltIcons() {
    for (auto& [id, entry] : Entries()) {
        entry.icon.reset();
    }
    dropScheduled = false;
}

QIcon BuildIcon(const IconResource& resource) {
    QIcon icon;
    for (const int size : kArtworkSizes) {
        icon.addFile(
            QStringLiteral(":/icons/%1-%2.png").arg(QString::fromUtf8(resource.name)).arg(size),
            QSize(size, size));
    }
    return icon;
}

}  // namespace

HICON LoadIconResource(UINT id) {
    const IconResource* resource = FindIconResource(id);
    if (resource == nullptr) {
        return nullptr;
    }
    IconEntry& entry = Entries().try_emplace(id, IconEntry{resource, std::nullopt}).first->second;
    return reinterpret_cast<HICON>(&entry);
}

QIcon IconOfHandle(HICON handle) {
    IconEntry* entry = EntryOfHandle(handle);
    if (entry == nullptr || QCoreApplication::instance() == nullptr) {
        return {};
    }
    if (!entry->icon) {
        if (!dropScheduled) {
            qAddPostRoutine(DropBuiltIcons);
            dropScheduled = true;
        }
        entry->icon = BuildIcon(*entry->resource);
    }
    return *entry->icon;
}

bool PaintIcon(QPainter& painter, int x, int y, HICON handle) {
    const QIcon icon = IconOfHandle(handle);
    if (icon.isNull()) {
        return false;
    }
    icon.paint(&painter, QRect(x, y, kStandardIconSize, kStandardIconSize));
    return true;
}

}  // namespace zarven::qt
