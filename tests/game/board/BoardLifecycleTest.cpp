#include "tests/game/board/BoardFixture.h"

#include "game/players/Players.h"

#include <fstream>

namespace {

using QvTest::BoardFixture;

using BoardLifecycleTest = BoardFixture;

// A text table without the keys the Board resolves at start-up: the start stops with the text
// table's error, and the Board that never read the player file never writes one either.
TEST_F(BoardLifecycleTest, AMissingFixedKeyStopsTheStartAndNoPlayerFileIsWritten)
{
    const std::filesystem::path data = m_home / "data-folder";
    std::filesystem::create_directories(data / "data");
    std::ofstream(data / "data" / "resource.txt", std::ios::binary) << "DLG_H_QUIT,0,0,QUIT GAME\r\nDLG_T_QUIT,0,0,Sure?";
    const std::filesystem::path oldDir = std::filesystem::current_path();
    std::filesystem::current_path(data);
    EXPECT_THROW(m_board->Initialise(), std::runtime_error);
    std::filesystem::current_path(oldDir);

    EXPECT_EQ(m_board->m_texts.count, 2);
    std::ifstream log(Vel::ErrorLogPath(), std::ios::binary);
    const std::string message{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    EXPECT_NE(message.find("DLG_H_RESETSCORES"), std::string::npos) << message;
    m_board.reset(); // the end-of-game steps run here
    EXPECT_FALSE(std::filesystem::exists(Vel::PlayerFilePath()));
}

} // namespace
