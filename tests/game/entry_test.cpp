// The entry steps when the engine cannot start: one box, exit code 1, no game start-up.
#include "game_fixture.h"

class Entry : public GameTest {};

TEST_F(Entry, AnEngineThatCannotStartShowsOneBoxAndSkipsTheGame)
{
    o3DShutdown();
    gFake.createSucceeds = 0;
    EXPECT_EQ(gameMain(nullptr), 1);
    EXPECT_EQ(gFake.boxes, (std::vector<std::string>{"Blad|Blad inicjalizacji silnika!"}));
    EXPECT_STREQ(statusText, "Wczytywanie...");
    EXPECT_EQ(packHandle, nullptr);
    EXPECT_FALSE(std::filesystem::exists("config.ini"));
}
