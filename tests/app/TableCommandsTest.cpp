// SPDX-License-Identifier: GPL-3.0-or-later
// The help: the page installed with the program, shown through the browser port.
#include "app/CGameContext.h"
#include "app/CMainViewModel.h"
#include "base/ScratchFolder.h"
#include "ports/IBrowser.h"
#include "support/ManualEventLoop.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelo {
namespace {

struct RecordingBrowser : IBrowser {
    bool Open(const std::string& address) override {
        opened.push_back(address);
        return works;
    }
    std::vector<std::string> opened;
    bool works = true;
};

struct HelpTable {
    HelpTable() { context.SetPrompts(&prompts); }
    ~HelpTable() { context.SetPrompts(nullptr); }
    CGameContext context;
    test::ManualEventLoop loop;
    test::ScriptedPrompts prompts;
    CMainViewModel model{context, loop, {}};
    RecordingBrowser browser;
};

TEST(TableCommands, HelpOpensThePageInstalledWithTheProgram) {
    test::ScratchFolder scratch;
    // A data folder whose path needs escaping in an address.
    const std::string data = scratch.Folder() + "共享 #1";
    test::WriteFile(data + "/help/index.html", "<html></html>");
    HelpTable t;
    t.model.Commands().SetHelp(&t.browser, data);
    EXPECT_TRUE(t.model.Commands().OpenHelp());
    ASSERT_EQ(t.browser.opened.size(), 1u);
    EXPECT_EQ(t.browser.opened[0],
              "file://" + scratch.Folder() + "%E5%85%B1%E4%BA%AB%20%231/help/index.html");
    EXPECT_TRUE(t.prompts.notices.empty());

    // A hall that names a web page of its own gets that one.
    const char hall[] = "https://hall.example/help.html";
    std::memcpy(t.context.Hall().helpUrl.data(), hall, sizeof hall);
    EXPECT_TRUE(t.model.Commands().OpenHelp());
    EXPECT_EQ(t.browser.opened.back(), hall);
}

TEST(TableCommands, HelpThatCannotBeShownIsTold) {
    test::ScratchFolder scratch;
    HelpTable t;
    // No page in the data folder; a hall address that is no web address does not stand in.
    const char notWeb[] = "C:\\help.chm";
    std::memcpy(t.context.Hall().helpUrl.data(), notWeb, sizeof notWeb);
    t.model.Commands().SetHelp(&t.browser, scratch.Folder());
    EXPECT_FALSE(t.model.Commands().OpenHelp());
    EXPECT_TRUE(t.browser.opened.empty());
    ASSERT_EQ(t.prompts.notices.size(), 1u);
    EXPECT_NE(t.prompts.notices[0].find("找不到帮助页"), std::string::npos);

    // A page, but no browser to show it.
    test::WriteFile(scratch.Folder() + "help/index.html", "<html></html>");
    t.browser.works = false;
    EXPECT_FALSE(t.model.Commands().OpenHelp());
    ASSERT_EQ(t.prompts.notices.size(), 2u);
    EXPECT_NE(t.prompts.notices[1].find("无法打开帮助页"), std::string::npos);
}

} // namespace
} // namespace kelo
