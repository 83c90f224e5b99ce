// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "support/TestSupport.h"
#include "table/CTableBoard.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

TEST(GameContext, TheBoardHoldsTheTablesGame) {
    CGameContext context;
    EXPECT_EQ(&context.Board().Position(), &context.Position());
}

// The table sends where the context was told; objects made before the prompts change follow
// the change.
TEST(GameContext, TheTableSendsWhereToldAndAsksThePromptsSetNow) {
    test::RecordingSender sender;
    CGameContext context(&sender);
    CTableBoard table(context.Board(), context.Table(), &context.Prompts());
    table.SendMove(MoveRecord{CBasePoint::FromCode(406), CBasePoint::FromCode(404), Colour::White,
                              PieceKind::Pawn, 0, 0, 0, 0});
    ASSERT_EQ(sender.sent.size(), 1u);

    IPrompts& prompts = context.Prompts();
    EXPECT_FALSE(prompts.AskYesNo("silent until set"));
    test::ScriptedPrompts scripted;
    scripted.yesNoAnswer = true;
    context.SetPrompts(&scripted);
    EXPECT_TRUE(prompts.AskYesNo("now answered"));
    EXPECT_EQ(scripted.questions, std::vector<std::string>{"now answered"});
}

} // namespace
} // namespace kelo
