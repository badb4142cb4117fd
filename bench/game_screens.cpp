// The game's busiest work headless: loading each resource group, a paragraph of wrapped text in
// one of its image fonts, and drawing its screens (the title while it fades, the main menu),
// beside a memcpy of the 800 x 600 frame.
#include "bench/BenchData.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/sound/SoundManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/board/Board.h"
#include "game/shell/GameApp.h"
#include "game/shell/TitleScreen.h"
#include "platform/null/NullBackend.h"

#include <cstring>
#include <memory>

namespace {

using QvBench::EnterGameData;

// The real game on the null back end: no window, no sound card, no real time.
class HeadlessGame : public Vel::GameApp {
public:
    HeadlessGame()
    {
        auto backend = std::make_unique<Plat::NullBackend>();
        backend->m_echoMessages = false;
        SetBackend(std::move(backend));
        SetCommandLine("quorvane");
        m_findDataFolder = false;
        m_autoStartLoadingThread = false;
    }
    void QuitNow() override {}
    void LoadEverything()
    {
        LoadingThreadBody();
        BeginRunning();
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            TryUpdateTick();
    }
    // Through the title, a click on its link, onto the main menu.
    bool ReachMainMenu()
    {
        LoadEverything();
        for (int i = 0; i < 2000 && !(m_titleScreen && m_titleScreen->m_continueLink
                                      && m_titleScreen->m_continueLink->m_visible); ++i)
            Ticks(1);
        if (!m_titleScreen || !m_titleScreen->m_continueLink)
            return false;
        const Vel::Rect r = m_titleScreen->m_continueLink->GetRect();
        Vel::WidgetManager* wm = GetWidgetManager();
        wm->MouseMove(r.x + r.width / 2, r.y + r.height / 2);
        wm->MouseDown(r.x + r.width / 2, r.y + r.height / 2, 1);
        wm->MouseUp(r.x + r.width / 2, r.y + r.height / 2, 1);
        Ticks(2);
        return m_board && m_boardReady;
    }
};

// One application for the whole program: the framework allows one, and Init is the cost of a
// start, not of what is measured here.
HeadlessGame* Game()
{
    static HeadlessGame* game = [] {
        if (!EnterGameData())
            return static_cast<HeadlessGame*>(nullptr);
        auto* app = new HeadlessGame;
        app->Init();
        return app;
    }();
    return game;
}

// A resource manager of its own with its own image registry, so every load decodes afresh
// instead of finding the game's shared copies; sounds go to the game's sound manager.
class GroupHost : public Vel::ResourceHost {
public:
    explicit GroupHost(Vel::SoundManager* sound) : m_sound(sound) {}
    Vel::ImageRegistry* GetImageRegistry() override { return &m_registry; }
    void Popup(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    Vel::SoundManager* GetSoundManager() override { return m_sound; }
    Vel::ImageRegistry m_registry;
    Vel::SoundManager* m_sound;
};

void BM_LoadGroup(benchmark::State& state, const char* group)
{
    HeadlessGame* game = Game();
    if (!game) {
        state.SkipWithError("the game did not start");
        return;
    }
    GroupHost host(game->GetSoundManager());
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto resources = std::make_unique<Vel::ResourceManager>(&host, host.m_sound);
            if (!resources->ParseManifest("properties\\resources.xml")) {
                state.SkipWithError("cannot read the manifest");
                return;
            }
            count = resources->CountGroupResources(group);
            state.ResumeTiming();
            if (!resources->LoadGroup(group)) {
                state.SkipWithError((std::string("cannot load group ") + group + ": " + resources->GetErrorText()).c_str());
                return;
            }
            state.PauseTiming();
        }
        host.m_registry.PurgeUnreferenced();
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(count) + " resources");
}
BENCHMARK_CAPTURE(BM_LoadGroup, Init, "Init")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadGroup, TitleScreen, "TitleScreen")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadGroup, Game, "Game")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadGroup, Quorvane, "Quorvane")->Unit(benchmark::kMillisecond);

void BM_WrappedParagraph(benchmark::State& state)
{
    HeadlessGame* game = Game();
    Vel::Font* font = game ? game->GetResourceManager()->GetFont("FONT_MENU2") : nullptr;
    if (!font) {
        state.SkipWithError("no FONT_MENU2");
        return;
    }
    const std::string paragraph =
        "Every morning the owl counts the words it has learned, the faces it has met and the sums it "
        "has done. Some days the list is long and some days it is short, but it keeps coming back, "
        "because a little practice every day goes further than a lot of practice once a month. "
        "Today, try to beat yesterday's grade by a single point.";
    Vel::MemoryImage screen;
    std::vector<uint32_t> black(800 * 600, 0xFF000000u);
    screen.SetBits(black.data(), 800, 600);
    Vel::Graphics g(&screen);
    g.SetFont(font);
    g.SetColor(Vel::Color(255, 255, 255));
    int height = 0;
    for (auto _ : state) {
        height = g.DrawWrappedText(Vel::Rect(50, 100, 500, 400), paragraph);
        benchmark::DoNotOptimize(screen.GetBits());
    }
    state.SetLabel(std::to_string(paragraph.size()) + " characters, " + std::to_string(height) + " px high");
}
BENCHMARK(BM_WrappedParagraph)->Unit(benchmark::kMicrosecond);

// The whole screen as the loop draws it: every widget dirty, drawn into the screen image.
void DrawWholeScreen(benchmark::State& state, HeadlessGame* game)
{
    Vel::WidgetManager* wm = game->GetWidgetManager();
    for (auto _ : state) {
        wm->MarkAllDirty();
        benchmark::DoNotOptimize(wm->DrawScreen());
        benchmark::DoNotOptimize(game->GetScreenImage()->GetBits());
    }
}

void BM_DrawTitleFading(benchmark::State& state)
{
    HeadlessGame* game = Game();
    if (!game || !game->m_titleScreen) {
        state.SkipWithError("no title screen");
        return;
    }
    // Half-way through the title's fade-in: the tinted full-screen image, the costliest phase.
    game->m_titleScreen->m_phase = Vel::TitlePhase::FadeInTitle;
    game->m_titleScreen->m_alpha = 128;
    DrawWholeScreen(state, game);
}
BENCHMARK(BM_DrawTitleFading)->Unit(benchmark::kMillisecond);

void BM_DrawMainMenu(benchmark::State& state)
{
    HeadlessGame* game = Game();
    if (!game || !(game->m_board || game->ReachMainMenu())) {
        state.SkipWithError("the main menu was not reached");
        return;
    }
    DrawWholeScreen(state, game);
}
BENCHMARK(BM_DrawMainMenu)->Unit(benchmark::kMillisecond);

// What a present of the frame costs at the least.
void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<uint32_t> from(800 * 600, 0xFF204080u), to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

} // namespace
