// Program entry. Until the game's own application exists this opens the framework's demonstration
// screen: a test widget that shows the tick rate, the pointer and the keys, and a button.
#include "framework/app/AppBase.h"
#include "framework/app/CommandLine.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/text/Rand.h"
#include "platform/Backend.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kClickButtonId = 1;

class TestWidget : public Vel::Widget {
public:
    TestWidget() : m_font("Arial", 14), m_small("Arial", 10) {}

    void Update() override
    {
        Vel::Widget::Update();
        ++m_ticks;
        MarkDirty(); // the square moves every tick
    }

    void Draw(Vel::Graphics* g) override
    {
        g->SetColor(Vel::Color(24, 40, 72));
        g->FillRect(0, 0, m_width, m_height);
        // A square crossing the screen once every 4 seconds at 100 ticks a second.
        const int x = 40 + (m_ticks % 400) * (m_width - 120) / 400;
        g->SetColor(Vel::Color(240, 196, 64));
        g->FillRect(x, 420, 40, 40);

        g->SetFont(&m_font);
        g->SetColor(Vel::Color(255, 255, 255));
        g->DrawString("Quorvane: application spine", 40, 60);
        g->SetFont(&m_small);
        g->DrawString("ticks: " + std::to_string(m_ticks) + "   clicks: " + std::to_string(m_clicks), 40, 100);
        g->DrawString("last key: " + std::to_string(m_lastKey) + "   typed: " + m_typed, 40, 130);
        g->DrawString("Alt+Enter: full screen   Ctrl+Alt+D then F3: frame counter", 40, 160);
    }

    void KeyDown(int key) override
    {
        m_lastKey = key;
        Vel::Widget::KeyDown(key);
    }
    void KeyChar(char c) override
    {
        if (c == 8 && !m_typed.empty())
            m_typed.pop_back();
        else if (static_cast<unsigned char>(c) >= 32 && m_typed.size() < 40)
            m_typed += c;
    }

    int m_ticks = 0;
    int m_clicks = 0;
    int m_lastKey = 0;
    std::string m_typed;

private:
    Vel::SysFont m_font;
    Vel::SysFont m_small;
};

class DemoApp : public Vel::AppBase {
public:
    DemoApp()
    {
        m_productName = "Quorvane";
        m_companyName = "Velmora";
        m_productVersion = "1.0";
        m_registryKey = "Velmora\\Quorvane";
        m_width = 800;
        m_height = 600;
        m_vsyncUpdates = true;
        m_vsyncBroken = true;
        m_autoStartLoadingThread = false;
    }

    ~DemoApp() override
    {
        if (m_widgetManager) {
            m_widgetManager->RemoveWidget(&m_button);
            m_widgetManager->RemoveWidget(&m_screen);
        }
    }

    void Init() override
    {
        AppBase::Init();
        if (ShutdownRequested())
            return;
        m_screen.Resize(0, 0, m_width, m_height);
        m_screen.m_wantsFocus = true;
        m_button.m_label = "Click me";
        m_button.Resize(40, 220, 160, 40);
        m_widgetManager->AddWidget(&m_screen);
        m_widgetManager->AddWidget(&m_button);
        m_widgetManager->SetFocus(&m_screen);
    }

    void OnButtonClick(int id) override
    {
        if (id == kClickButtonId)
            ++m_screen.m_clicks;
    }

protected:
    void SeedRandom(uint32_t seed) override { Vel::SeedRand(seed); }

private:
    TestWidget m_screen;
    Vel::ButtonWidget m_button{kClickButtonId, this};
};

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    std::unique_ptr<Plat::Backend> backend = Plat::CreateSdlBackend(error);
    if (!backend) {
        std::fprintf(stderr, "Quorvane: cannot start: %s\n", error.c_str());
        return Vel::kExitFailure;
    }
    DemoApp app;
    app.SetBackend(std::move(backend));
    app.SetCommandLine(Vel::JoinCommandLine(argc, argv));
    app.Init();
    app.Start();
    return app.GetExitCode();
}
