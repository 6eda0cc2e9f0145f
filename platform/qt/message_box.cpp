// The windowing functions of the Win32 subset: message boxes, focus and system metrics.
#include "platform/qt/icons.h"
#include "platform/qt/window_handles.h"
#include "platform/win32api.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A message box that a question keeps open until it is answered: neither Escape nor the close
// box answers a Yes/No box.
class MessageBoxWindow final : public QMessageBox {
public:
    MessageBoxWindow(bool closable, QWidget* owner) : QMessageBox(owner), closable_(closable) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!closable_ && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        if (!closable_) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool closable_;
};

bool HaveApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

int AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Ok:
            return IDOK;
        default:
            return 0;
    }
}

}  // namespace

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const UINT buttons = uType & 0xFu;
    if (!HaveApplication() || (buttons != MB_OK && buttons != MB_YESNO)) {
        return 0;
    }
    const bool question = buttons == MB_YESNO;
    QWidget* owner = zarven::qt::WindowOfHandle(hWnd);
    MessageBoxWindow box(!question, owner);
    box.setWindowTitle(QString::fromUtf8(lpCaption != nullptr ? lpCaption : "Error"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromUtf8(lpText != nullptr ? lpText : ""));
    box.setIcon(QMessageBox::NoIcon);
    if (question) {
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(yes);
    } else {
        QPushButton* ok = box.addButton(QMessageBox::Ok);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    // An owned box blocks its owner as a modal box does; one without an owner blocks nothing,
    // so the program's other windows keep working while it waits.
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    box.raise();
    box.activateWindow();
    loop.exec(QEventLoop::DialogExec);
    return AnswerOf(box.standardButton(box.clickedButton()));
}

HWND GetFocus() {
    return HaveApplication() ? zarven::qt::HandleOfWindow(QApplication::activeWindow()) : nullptr;
}

int GetSystemMetrics(int nIndex) {
    return nIndex == SM_CXICON || nIndex == SM_CYICON ? zarven::qt::kStandardIconSize : 0;
}
