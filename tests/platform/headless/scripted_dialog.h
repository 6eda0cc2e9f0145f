// A dialog for tests of the headless backend: logs the events it receives and lets a test hook
// into them. Every test starts from a clean session and, unless it says otherwise, ends
// without faults.
#pragma once

#include "panel/resource.h"
#include "platform/headless/headless.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(std::vector<std::string>& log, UINT templateId = IDD_CONTROL_PANEL,
                            CDialog* parent = nullptr)
        : CDialog(templateId, parent), m_log(log) {}

    std::function<void()> onInit;
    std::function<void(int id)> onClicked;
    std::function<void(UINT_PTR id)> onTimer;
    std::function<bool(UINT id)> onSysCommand;  // true when handled; else default processing
    bool moveThumbOnDrag = false;               // as the panel does on codes 4 and 5

protected:
    BOOL OnInitDialog() override {
        Log("init");
        if (onInit) {
            onInit();
        }
        return TRUE;
    }
    void OnClicked(int id) override {
        Log("click " + std::to_string(id));
        if (onClicked) {
            onClicked(id);
        }
    }
    void OnEditChange(int id) override { Log("edit " + std::to_string(id)); }
    void OnVScroll(UINT code, UINT pos, int barId) override {
        SCROLLINFO info{};
        GetScrollInfo(barId, &info, SIF_TRACKPOS);
        Log("scroll " + std::to_string(barId) + " code " + std::to_string(code) + " pos " +
            std::to_string(pos) + " track " + std::to_string(info.nTrackPos));
        if (moveThumbOnDrag && (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)) {
            SetScrollPos(barId, info.nTrackPos);
        }
    }
    void OnTimer(UINT_PTR id) override {
        Log("timer " + std::to_string(id));
        if (onTimer) {
            onTimer(id);
        }
    }
    void OnSysCommand(UINT id, LPARAM lParam) override {
        if (!onSysCommand || !onSysCommand(id)) {
            CDialog::OnSysCommand(id, lParam);
        }
    }

private:
    void Log(const std::string& event) {
        m_log.push_back((GetTemplateId() == IDD_ABOUTBOX ? "about " : "panel ") + event);
    }
    std::vector<std::string>& m_log;
};

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override {
        if (!expectFaults) {
            EXPECT_THAT(headless::Faults(), ::testing::IsEmpty());
        }
    }

    bool expectFaults = false;
    std::vector<std::string> log;
};
