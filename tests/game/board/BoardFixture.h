// A Board without the game's data: an application that records sounds and music, a font whose
// widths are known, plain images of known sizes in the resource handles, and a few text keys.
#pragma once

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"
#include "game/board/Board.h"
#include "game/shell/GameApp.h"
#include "game/shell/ResourceIds.h"
#include "game/text/ErrorLog.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace QvTest {

// Every character 10 pixels wide except 'W' (30), 20 high; drawing fills the text's box.
class BoxFont : public Vel::Font {
public:
    BoxFont()
    {
        m_height = 20;
        m_ascent = 16;
    }
    int CharWidth(char c) override { return c == 'W' ? 30 : 10; }
    int StringWidth(const std::string& text) override
    {
        int w = 0;
        for (char c : text)
            w += CharWidth(c);
        return w;
    }
    void DrawString(Vel::Graphics* g, int x, int y, const std::string& text, const Vel::Color& color,
                    const Vel::Rect& clipRect) override
    {
        (void)clipRect;
        const Vel::Color saved = g->GetColor();
        g->SetColor(color);
        g->FillRect(x, y - m_ascent, StringWidth(text), m_height);
        g->SetColor(saved);
    }
    Vel::Font* Duplicate() override { return new BoxFont(*this); }
};

class RecordingSounds : public Vel::SoundManager {
public:
    bool IsInitialized() override { return true; }
    int LoadSound(const std::string&) override { return -1; }
    bool LoadSound(int, const std::string&) override { return false; }
    void ReleaseSound(int) override {}
    void SetVolume(double) override {}
    bool SetBaseVolume(int, double) override { return false; }
    bool SetBasePan(int, int) override { return false; }
    Vel::SoundInstance* CreateInstance(int id) override
    {
        m_played.push_back(id);
        return nullptr;
    }
    void ReleaseSounds() override {}
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return 1.0; }
    void SetMasterVolume(double) override {}
    void Flush() override {}
    void SetCooperativeWindow(Plat::Window*, bool) override {}
    void StopAllSounds() override {}
    int GetFreeSoundId() override { return 0; }
    int GetNumSounds() override { return 256; }
    std::vector<int> m_played;
};

// Keeps a log such as "stop fade:1 " and which songs play.
class RecordingMusic : public Vel::MusicInterface {
public:
    void StopAllMusic() override
    {
        m_log += "stop ";
        m_playing.clear();
    }
    void FadeIn(int songId, int offset, double speed, bool noLoop) override
    {
        m_log += "fade:" + std::to_string(songId) + " ";
        m_lastOffset = offset;
        m_lastSpeed = speed;
        m_lastNoLoop = noLoop;
        m_playing.insert(songId);
    }
    bool IsPlaying(int songId) override { return m_playing.count(songId) != 0; }
    std::string m_log;
    std::set<int> m_playing;
    int m_lastOffset = 0;
    double m_lastSpeed = 0;
    bool m_lastNoLoop = true;
};

// The application without its start-up: nothing is loaded, sounds and music are recorded.
class BareApp : public Vel::GameApp {
public:
    BareApp()
    {
        auto sounds = std::make_unique<RecordingSounds>();
        m_sounds = sounds.get();
        m_soundManager = std::move(sounds);
        auto music = std::make_unique<RecordingMusic>();
        m_music = music.get();
        m_musicInterface = std::move(music);
    }
    void QuitNow() override { ++m_quits; }
    RecordingSounds* m_sounds = nullptr;
    RecordingMusic* m_music = nullptr;
    int m_quits = 0;
};

constexpr int kClickSound = 1;
constexpr int kTimerLowSound = 2;
constexpr int kFirstVoiceSound = 11; // SOUND_VOICE1..5 are 11..15

[[noreturn]] inline void ThrowOnFatal(int) { throw std::runtime_error("fatal error"); }

class BoardFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Error logs and player files of these tests stay in a private folder.
        m_home = std::filesystem::temp_directory_path() / ("qv-board-" + std::to_string(::getpid()));
        ::setenv("QUORVANE_HOME", m_home.c_str(), 1);
        m_oldFatal = Vel::SetFatalExitHandler(&ThrowOnFatal);
        for (Vel::Font** f : {&Vel::FONT_MENU1, &Vel::FONT_MENU2, &Vel::FONT_MENU3, &Vel::FONT_MENU4})
            *f = &m_font;
        // Buttons: two cels of 100 x 50.
        for (Vel::Image** i : {&Vel::IMAGE_BUTTON1, &Vel::IMAGE_BUTTON1B, &Vel::IMAGE_BUTTON2, &Vel::IMAGE_BUTTON2B,
                               &Vel::IMAGE_BUTTON3, &Vel::IMAGE_BUTTON3B, &Vel::IMAGE_BUTTON6, &Vel::IMAGE_BUTTON7,
                               &Vel::IMAGE_BUTTON7B})
            *i = &m_button;
        MakeImage(m_button, 200, 50, 2, Vel::Color(200, 200, 0));
        MakeImage(m_background, 800, 600, 1, Vel::Color(0, 0, 255));
        MakeImage(m_balloon, 520, 180, 1, Vel::Color(255, 255, 255));
        MakeImage(m_editField, 96, 80, 6, Vel::Color(255, 255, 255));
        MakeImage(m_small, 160, 120, 1, Vel::Color(255, 255, 255));
        Vel::IMAGE_BKG_START_SCREEN = &m_background;
        Vel::IMAGE_BALLOON = &m_balloon;
        Vel::IMAGE_EDITFIELD = &m_editField;
        Vel::IMAGE_BKG_DIM = &m_small;
        Vel::IMAGE_DIALOG_BOX = &m_small;
        Vel::IMAGE_BKG_OPTIONS = &m_small;
        Vel::SOUND_BUTTONCLICK = kClickSound;
        Vel::SOUND_TIMERLOW = kTimerLowSound;
        int* voices[] = {&Vel::SOUND_VOICE1, &Vel::SOUND_VOICE2, &Vel::SOUND_VOICE3, &Vel::SOUND_VOICE4,
                         &Vel::SOUND_VOICE5};
        for (int i = 0; i < 5; ++i)
            *voices[i] = kFirstVoiceSound + i;

        m_board = std::make_unique<Vel::Board>(&m_app);
        m_board->Resize(0, 0, 800, 600);
        for (const char* line : {"MM_B_DAILYEXAM,272,236,DAILY EXAM", "MM_B_PRACTICE,272,312,PRACTICE",
                                 "MM_B_REPORTCARD,272,388,REPORT CARD", "MM_B_OPTIONS,56,528,OPTIONS",
                                 "MM_B_QUIT,584,528,QUIT", "MM_B_ENROL,608,116,PLAYERS", "DLG_B_YES,232,364,YES",
                                 "DLG_B_NO,408,364,NO", "DLG_B_OK,320,364,OK", "GM_H_TITLE,336,132,MENU",
                                 "GM_B_MAINMENU,320,190,MAIN MENU", "GM_B_OPTIONS,320,250,OPTIONS",
                                 "GM_B_CONTINUE,320,310,CONTINUE", "GB_B_MENU,650,20,MENU"})
            AddText(line);
    }
    void TearDown() override
    {
        m_board.reset();
        for (Vel::ResourceGroup g : {Vel::ResourceGroup::Init, Vel::ResourceGroup::TitleScreen, Vel::ResourceGroup::Game,
                                     Vel::ResourceGroup::Program})
            Vel::UnbindGroupIds(g);
        Vel::SetFatalExitHandler(m_oldFatal);
        std::filesystem::remove_all(m_home);
    }

    static void MakeImage(Vel::MemoryImage& image, int w, int h, int cols, Vel::Color color)
    {
        ASSERT_TRUE(image.Create(w, h));
        image.SetCelGrid(1, cols);
        Vel::Graphics g(&image);
        g.SetColor(color);
        g.FillRect(0, 0, w, h);
    }
    void AddText(const std::string& line)
    {
        Vel::TextTable& t = m_board->m_texts;
        t.entries[size_t(t.count++)] = Vel::ParseTextLine(line);
    }
    // The test screen (layout 21) with its menu button, as every play screen has it.
    void BuildTestScreen(Vel::BoardState state)
    {
        m_board->SetState(state);
        m_board->ClearButtons(Vel::kLayoutGameBoard);
        m_board->AddButton(Vel::kLayoutGameBoard, 2, "GB_B_MENU", Vel::kStyleButton2);
        m_board->ClearLabels(Vel::kLayoutGameBoard);
        m_board->ClearTextFields();
    }
    void PressAt(int x, int y)
    {
        m_board->MouseMove(x, y);
        m_board->MouseDown(x, y, 1);
    }
    int Count(int sound) const
    {
        int n = 0;
        for (int id : m_app.m_sounds->m_played)
            n += id == sound;
        return n;
    }

    BareApp m_app;
    std::unique_ptr<Vel::Board> m_board;
    BoxFont m_font;
    Vel::MemoryImage m_button, m_background, m_balloon, m_editField, m_small;
    Vel::FatalExitHandler m_oldFatal = nullptr;
    std::filesystem::path m_home;
};

} // namespace QvTest
