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

// Objects made before the sender or the prompts change follow the change.
TEST(GameContext, SenderAndPromptsCanBeChangedAfterTheTableIsBuilt) {
    CGameContext context;
    CTableBoard table(context.Board(), context.Table(), &context.Prompts());
    test::RecordingSender sender;
    context.SetSender(&sender);
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
