#include "scripted_dialog.h"

#include <string>

namespace {

class NamedApp : public CWinApp {
public:
    explicit NamedApp(LPCSTR name = nullptr) : CWinApp(name) {}
    BOOL InitInstance() override {
        ++initialised;
        return FALSE;
    }
    int initialised = 0;
};

TEST_F(HeadlessTest, StartUpNamesTheAppAfterTheExecutable) {
    const std::pair<const char*, const char*> paths[] = {
        {"/usr/local/bin/zarven-controls", "zarven-controls"},
        {"C:\\Program Files\\ZARVEN\\ZARVEN.EXE", "ZARVEN"},
        {"./zarven.v2.bin", "zarven.v2"},
        {"/home/user/.hidden", ".hidden"},
        {"", ""},
    };
    for (const auto& [path, name] : paths) {
        SCOPED_TRACE(path);
        NamedApp app;
        std::string arg = path;
        char* argv[] = {arg.data(), nullptr};
        EXPECT_EQ(AfxWinMain(1, argv), 0);
        EXPECT_EQ(app.m_exeName, name);
        EXPECT_EQ(app.m_appName, name);
        EXPECT_EQ(app.initialised, 1);
    }
    NamedApp given("Given");
    EXPECT_EQ(AfxWinMain(0, nullptr), 0);
    EXPECT_EQ(given.m_appName, "Given");
}

TEST_F(HeadlessTest, AppIsTheLatestLiveOne) {
    EXPECT_EQ(AfxWinMain(0, nullptr), -1);
    const NamedApp first;
    {
        const NamedApp second;
        EXPECT_EQ(AfxGetApp(), &second);
    }
    EXPECT_EQ(AfxGetApp(), &first);
    EXPECT_EQ(headless::IconId(first.LoadIcon(IDI_PANEL)), static_cast<UINT>(IDI_PANEL));
    EXPECT_EQ(first.LoadIcon(IDD_ABOUTBOX), nullptr);
}

TEST_F(HeadlessTest, MinimizingAndRestoringGoThroughTheDefaultSystemCommand) {
    ScriptedDialog panel(log);
    headless::Minimize();
    headless::Run([&](CDialog&) {
        EXPECT_TRUE(panel.IsIconic());
        RECT client{};
        panel.GetClientRect(&client);  // 210 x 175 dialog units
        EXPECT_EQ(client.right, 315);
        EXPECT_EQ(client.bottom, 284);
    });
    headless::Restore();
    headless::Click(IDOK);
    panel.DoModal();
    EXPECT_FALSE(panel.IsIconic());
}

}  // namespace
