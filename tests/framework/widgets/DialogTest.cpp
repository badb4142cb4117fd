// Dialogs: button wording, what the listener hears, keyboard answers, and modal use.
#include <gtest/gtest.h>

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Keys.h"
#include "tests/framework/widgets/WidgetTestSupport.h"

using VelTest::FakeHost;
using VelTest::RecordingWidget;

namespace {

constexpr int kDialogId = 42;

class RecordingDialogListener : public Vel::DialogListener {
public:
    void OnDialogButtonPress(int dialogId, int buttonId) override
    {
        m_log.push_back("press " + std::to_string(dialogId) + " " + std::to_string(buttonId));
    }
    void OnDialogButtonClick(int dialogId, int result) override
    {
        m_log.push_back("click " + std::to_string(dialogId) + " " + std::to_string(result));
    }
    std::vector<std::string> m_log;
};

struct LabelCase {
    int mode;
    const char* yes; // expected labels; nullptr: no such button
    const char* no;
};

class DialogLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(DialogLabelTest, ButtonsFollowTheModeAndTheHostsWording)
{
    const LabelCase c = GetParam();
    FakeHost host;
    host.m_texts["DIALOG_BUTTON_OK"] = "Fine";
    Vel::Dialog dialog(nullptr, nullptr, kDialogId, true, "Header", "Body", "Footer", c.mode, &host);
    if (c.yes != nullptr)
        EXPECT_EQ(dialog.m_yesButton->m_label, c.yes);
    else
        EXPECT_EQ(dialog.m_yesButton, nullptr);
    if (c.no != nullptr)
        EXPECT_EQ(dialog.m_noButton->m_label, c.no);
    else
        EXPECT_EQ(dialog.m_noButton, nullptr);
    EXPECT_EQ(int(dialog.GetChildren().size()), dialog.m_numButtons);
}

INSTANTIATE_TEST_SUITE_P(Modes, DialogLabelTest,
                         ::testing::Values(LabelCase{Vel::Dialog::kButtonsNone, nullptr, nullptr},
                                           LabelCase{Vel::Dialog::kButtonsYesNo, "Yes", "No"},
                                           LabelCase{Vel::Dialog::kButtonsOkCancel, "Fine", "Cancel"},
                                           LabelCase{Vel::Dialog::kButtonsFooter, "Footer", nullptr}));

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dialog.m_dialogListener = &m_listener;
        m_manager.AddWidget(&m_below);
        m_manager.AddWidget(&m_dialog);
        m_dialog.Resize(200, 150, 300, m_dialog.GetPreferredHeight(300));
        m_manager.AddBaseModal(&m_dialog);
        m_manager.SetFocus(&m_dialog);
    }

    void ClickAt(int x, int y)
    {
        m_manager.MouseMove(x, y);
        m_manager.MouseDown(x, y, 1);
        m_manager.MouseUp(x, y, 1);
    }
    // The centre of a button in screen coordinates.
    static std::pair<int, int> Centre(const Vel::Widget& w)
    {
        const Vel::WidgetPoint p = w.GetAbsPos();
        return {p.x + w.m_width / 2, p.y + w.m_height / 2};
    }

    Vel::WidgetManager m_manager;
    RecordingDialogListener m_listener;
    RecordingWidget m_below{"below", 0, 0, 800, 600};
    Vel::Dialog m_dialog{nullptr, nullptr, kDialogId, true, "Quit?", "Do you really want to stop now?",
                         "", Vel::Dialog::kButtonsYesNo};
};

TEST_F(DialogTest, ButtonsLieInsideTheDialogAndReportTheirResult)
{
    const Vel::Rect area = m_dialog.GetRect();
    for (const Vel::DialogButton* b : {m_dialog.m_yesButton.get(), m_dialog.m_noButton.get()}) {
        EXPECT_GT(b->m_width, 0);
        EXPECT_TRUE(area.Contains(area.x + b->m_x, area.y + b->m_y));
        EXPECT_TRUE(area.Contains(area.x + b->m_x + b->m_width - 1, area.y + b->m_y + b->m_height - 1));
    }
    const auto [x, y] = Centre(*m_dialog.m_noButton);
    ClickAt(x, y);
    EXPECT_EQ(m_listener.m_log, (std::vector<std::string>{"press 42 1001", "click 42 1001"}));
    EXPECT_EQ(m_dialog.GetResult(), Vel::Dialog::kIdNo);
}

TEST_F(DialogTest, EnterAnswersYesAndEscapeAnswersNo)
{
    m_manager.KeyDown(Plat::kKeyReturn);
    m_manager.KeyDown(Plat::kKeyEscape);
    EXPECT_EQ(m_listener.m_log, (std::vector<std::string>{"click 42 1000", "click 42 1001"}));
}

TEST_F(DialogTest, ModalDialogKeepsThePointerFromTheScreenBelow)
{
    ClickAt(20, 20);
    EXPECT_TRUE(m_below.m_log.empty());
    EXPECT_TRUE(m_listener.m_log.empty());

    m_manager.RemoveBaseModal(&m_dialog);
    m_manager.RemoveWidget(&m_dialog);
    ClickAt(20, 20);
    EXPECT_TRUE(m_below.GotPrefix("down 20,20"));
}

TEST_F(DialogTest, DraggingTheHeaderMovesTheDialogButStaysOnScreen)
{
    m_manager.m_width = 800;
    m_manager.m_height = 600;
    m_manager.MouseMove(210, 155);
    m_manager.MouseDown(210, 155, 1);
    m_manager.MouseMove(240, 175);
    EXPECT_EQ(m_dialog.m_x, 230);
    EXPECT_EQ(m_dialog.m_y, 170);
    m_manager.MouseMove(-500, -500);
    EXPECT_EQ(m_dialog.m_x, 0);
    EXPECT_EQ(m_dialog.m_y, 0);
    m_manager.MouseUp(-500, -500, 1);
    EXPECT_FALSE(m_dialog.m_dragging);
}

TEST_F(DialogTest, DrawsItsFrameAndButtons)
{
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(800, 600));
    m_manager.SetScreenImage(&screen);
    m_manager.MarkAllDirty();
    ASSERT_TRUE(m_manager.DrawScreen());
    const uint32_t* bits = screen.GetBits();
    auto pixel = [&](int x, int y) { return bits[y * 800 + x]; };
    EXPECT_EQ(pixel(200, 150), Vel::Color(64, 64, 64).ToPacked()); // outline
    EXPECT_EQ(pixel(205, 152), Vel::Color(228, 228, 228).ToPacked()); // background
    const Vel::WidgetPoint p = m_dialog.m_yesButton->GetAbsPos();
    EXPECT_EQ(pixel(p.x, p.y), 0xFFFFFFFFu); // the plain button's light outline
}

TEST(DialogButtonTest, ComponentImageCelFollowsTheButtonState)
{
    // Three 9 x 3 cels side by side: red normal, green over, blue pressed.
    const uint32_t cels[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 3; ++y)
        for (uint32_t c : cels)
            pixels.insert(pixels.end(), 9, c);
    Vel::MemoryImage component;
    ASSERT_TRUE(component.SetBits(pixels.data(), 27, 3));
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(40, 10));

    Vel::WidgetManager manager;
    manager.SetScreenImage(&screen);
    Vel::DialogButton button(&component, Vel::Dialog::kIdYes, nullptr);
    button.Resize(0, 0, 30, 6); // wider and taller than a cel: stretched
    manager.AddWidget(&button);
    auto drawnColors = [&] {
        button.MarkDirty();
        manager.DrawScreen();
        const uint32_t* bits = screen.GetBits();
        return std::vector<uint32_t>{bits[0], bits[15], bits[5 * 40 + 29], bits[5 * 40 + 30]};
    };

    EXPECT_EQ(drawnColors(), (std::vector<uint32_t>{cels[0], cels[0], cels[0], 0u}));
    manager.MouseMove(5, 3);
    EXPECT_EQ(drawnColors(), (std::vector<uint32_t>{cels[1], cels[1], cels[1], 0u}));
    manager.MouseDown(5, 3, 1);
    EXPECT_EQ(drawnColors(), (std::vector<uint32_t>{cels[2], cels[2], cels[2], 0u}));
}

} // namespace
