// The window of a running dialog: the template's controls on a QDialog, with the dialog's
// timers, system menu, icons and paint context, delivering Qt's events to the CDialog.
#pragma once

#include "platform/framework.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/system_menu.h"

#include <QDialog>

#include <map>
#include <memory>
#include <vector>

class QPainter;

namespace zarven::qt {

class DialogWindow final : public QDialog {
public:
    // A window with an owner is window-modal over it (the owner takes no input meanwhile) and
    // centred over it when shown; one without is centred on the screen.
    DialogWindow(CDialog& dialog, const DialogTemplate& dialogTemplate, QWidget* owner);
    ~DialogWindow() override;

    const DialogBaseUnits& BaseUnits() const { return baseUnits_; }
    const std::vector<QWidget*>& Controls() const { return controlsInOrder_; }  // template order
    QWidget* Control(int id) const;  // nullptr for an unknown id
    template <class T>
    T* ControlAs(int id) const {
        return dynamic_cast<T*>(Control(id));
    }
    void FocusFirstTabStop();

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);

    SystemMenu& Menu() { return systemMenu_; }
    void OpenSystemMenu(QPoint globalPos);
    HICON SetIcon(HICON icon, bool bigIcon);  // returns the icon it replaces

    // The paint context of the paint event in progress: null outside one, or while another
    // context is open. A context is valid until it is ended or the paint event finishes.
    HDC BeginPaintContext();
    void EndPaintContext(HDC hdc);
    QPainter* PainterOf(HDC hdc) const;
    bool EraseIconBackground(HDC hdc);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void CreateControls(const DialogTemplate& dialogTemplate);
    void AddSystemKeys();

    CDialog& dialog_;
    unsigned style_;
    DialogBaseUnits baseUnits_;
    std::vector<QWidget*> controlsInOrder_;
    std::map<int, QWidget*> controlsById_;
    std::map<UINT_PTR, int> timers_;  // program's timer id → Qt timer id
    SystemMenu systemMenu_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    bool painting_ = false;
    std::unique_ptr<QPainter> paintContext_;
};

}  // namespace zarven::qt
