// The Qt backend's state of a CDialog.
#pragma once

#include "platform/framework.h"
#include "platform/qt/dialog_window.h"

#include <QEventLoop>

#include <memory>
#include <optional>

struct CDialog::Impl {
    std::unique_ptr<zarven::qt::DialogWindow> window;  // exists while DoModal runs
    QEventLoop* loop = nullptr;                        // DoModal's loop, while it runs
    std::optional<int> result;                         // set by EndDialog
};
