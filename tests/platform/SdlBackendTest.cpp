// The SDL back end on SDL's dummy video driver: no display needed.
#include "platform/Backend.h"
#include "platform/Keys.h"
#include "platform/sdl2/SdlKeys.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(SdlKeysTest, SdlKeysBecomeWindowsKeyNumbers)
{
    const struct {
        int sdl;
        int windows;
    } cases[] = {
        {SDLK_RETURN, 13},  {SDLK_KP_ENTER, 13}, {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},     {SDLK_ESCAPE, 27},
        {SDLK_a, 'A'},      {SDLK_z, 'Z'},       {SDLK_0, '0'},       {SDLK_9, '9'},     {SDLK_F1, 112},
        {SDLK_F3, 114},     {SDLK_F10, 121},     {SDLK_F12, 123},     {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16},
        {SDLK_RCTRL, 17},   {SDLK_LALT, 18},     {SDLK_LEFT, 37},     {SDLK_DOWN, 40},   {SDLK_DELETE, 46},
        {SDLK_KP_0, 96},    {SDLK_KP_1, 97},     {SDLK_KP_9, 105},    {SDLK_SPACE, 32},  {SDLK_SEMICOLON, 186},
        {SDLK_QUOTE, 222},  {SDLK_AUDIOPLAY, 0}, {0x40000000 | 500, 0}, {-1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Plat::WindowsKeyFromSdl(c.sdl), c.windows) << c.sdl;
}

class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string error;
        m_backend = Plat::CreateSdlBackend(error);
        ASSERT_TRUE(m_backend) << error;
        ASSERT_TRUE(m_backend->HasDisplay());
        m_window = m_backend->MakeWindow();
        Plat::WindowOptions options;
        options.title = "test";
        ASSERT_TRUE(m_window->Open(options, error)) << error;
        Plat::Event e;
        while (m_backend->PollEvent(e)) {
        }
    }
    void TearDown() override
    {
        m_window.reset();
        m_backend.reset();
    }

    std::vector<Plat::Event> Drain()
    {
        std::vector<Plat::Event> out;
        Plat::Event e;
        while (m_backend->PollEvent(e))
            out.push_back(e);
        return out;
    }
    void PushKey(SDL_Keycode key, bool down = true, Uint16 mod = KMOD_NONE)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    void PushButton(Uint8 button, Uint8 clicks, int x, int y)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.clicks = clicks;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }

    std::unique_ptr<Plat::Backend> m_backend;
    std::unique_ptr<Plat::Window> m_window;
};

TEST_F(SdlBackendTest, EditingKeysAlsoTypeTheirControlCharacterAndTextIsLatin1)
{
    PushKey(SDLK_RETURN);
    PushKey(SDLK_RETURN, false);
    PushKey(SDLK_RETURN, true, KMOD_LALT); // Alt+Enter switches the screen mode; it types nothing
    PushKey(SDLK_F3);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, "a\xC3\xA9\xE2\x82\xAC\xC3", sizeof text.text.text); // a, e acute, euro, cut-off byte
    SDL_PushEvent(&text);
    const std::vector<Plat::Event> events = Drain();
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[0].type, Plat::EventType::KeyDown);
    EXPECT_EQ(events[0].key, Plat::kKeyReturn);
    EXPECT_EQ(events[1].type, Plat::EventType::Char);
    EXPECT_EQ(events[1].ch, 13u);
    EXPECT_EQ(events[2].type, Plat::EventType::KeyUp);
    EXPECT_EQ(events[3].type, Plat::EventType::KeyDown);
    EXPECT_EQ(events[3].key, Plat::kKeyReturn);
    EXPECT_EQ(events[4].key, Plat::kKeyF3);
    EXPECT_EQ(events[5].ch, uint32_t('a'));
    EXPECT_EQ(events[6].ch, 0xE9u);
}

TEST_F(SdlBackendTest, ClicksPairIntoDoubleClicksAndButtonsKeepTheirIdentity)
{
    PushButton(SDL_BUTTON_LEFT, 1, 10, 20);
    PushButton(SDL_BUTTON_LEFT, 2, 10, 20);
    PushButton(SDL_BUTTON_LEFT, 3, 10, 20); // a third press starts a new pair
    PushButton(SDL_BUTTON_RIGHT, 2, 10, 20);
    PushButton(SDL_BUTTON_MIDDLE, 2, 10, 20);
    PushButton(SDL_BUTTON_X1, 1, 10, 20); // no such button in the framework: dropped
    const std::vector<Plat::Event> events = Drain();
    ASSERT_EQ(events.size(), 5u);
    const int clicks[] = {1, 2, 1, 2, 1};
    const Plat::MouseButton buttons[] = {Plat::MouseButton::Left, Plat::MouseButton::Left, Plat::MouseButton::Left,
                                         Plat::MouseButton::Right, Plat::MouseButton::Middle};
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].clicks, clicks[i]) << i;
        EXPECT_EQ(events[i].button, buttons[i]) << i;
        EXPECT_EQ(events[i].x, 10);
        EXPECT_EQ(events[i].y, 20);
    }
}

TEST_F(SdlBackendTest, FullScreenScalesPointerPositionsBackToTheLogicalScreenAndPresents)
{
    std::vector<uint32_t> frame(800 * 600, 0xFF336699u);
    EXPECT_TRUE(m_window->Present(frame.data(), 800));
    Plat::WindowOptions options;
    options.fullScreen = true;
    std::string error;
    ASSERT_TRUE(m_window->Open(options, error)) << error;
    EXPECT_TRUE(m_window->IsFullScreen());
    EXPECT_TRUE(m_window->Present(frame.data(), 800));
    int x = 0, y = 0;
    EXPECT_FALSE(m_window->GetPosition(x, y));

    int w = 0, h = 0;
    m_window->GetDesktopSize(w, h); // a full-screen window covers the desktop
    ASSERT_GT(w, 800);
    Drain();
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = w / 2;
    motion.motion.y = h / 2;
    SDL_PushEvent(&motion);
    const std::vector<Plat::Event> events = Drain();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().type, Plat::EventType::MouseMove);
    EXPECT_NEAR(events.back().x, 400, 1);
    EXPECT_NEAR(events.back().y, 300, 1);

    options.fullScreen = false;
    ASSERT_TRUE(m_window->Open(options, error)) << error;
    EXPECT_FALSE(m_window->IsFullScreen());
    m_window->SetSystemCursor(-1); // ignored, not an out-of-table read
    m_window->SetSystemCursor(Plat::kCursorKindCount);
    m_window->SetSystemCursor(Plat::kCursorHand);
}

} // namespace
