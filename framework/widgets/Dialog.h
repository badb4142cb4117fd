// The framework's message box: a header, wrapped body lines and a footer in an optional image
// frame, with up to two buttons that report to a DialogListener. Modal when the application adds
// it with WidgetManager::AddBaseModal.
#pragma once

#include <memory>
#include <string>

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

namespace Vel {

class DialogButton;
class DialogListener;
class Font;
class Image;
class WidgetHost;

class Dialog : public Widget, public ButtonListener {
public:
    enum ButtonMode { kButtonsNone = 0, kButtonsYesNo = 1, kButtonsOkCancel = 2, kButtonsFooter = 3 };
    // Button ids, also the results reported to the listener.
    static constexpr int kIdYes = 1000;
    static constexpr int kIdNo = 1001;
    static constexpr int kIdOk = kIdYes;
    static constexpr int kIdCancel = kIdNo;
    static constexpr int kNoResult = INT_MAX; // no button clicked yet
    enum ColorIndex {
        kColorHeader = 0,
        kColorLines = 1,
        kColorFooter = 2,
        kColorButtonText = 3,
        kColorButtonTextHilite = 4,
        kColorBkg = 5,
        kColorOutline = 6,
        kColorCount = 7,
    };

    // `componentImage` (may be null) is a frame cut into a 3 x 3 grid: corners drawn as they are,
    // edges and centre repeated. `host` supplies the button wording (English defaults without it).
    Dialog(Image* componentImage, Image* buttonComponentImage, int id, bool isModal,
           const std::string& header, const std::string& lines, const std::string& footer,
           int buttonMode, WidgetHost* host = nullptr);
    ~Dialog() override;

    virtual void SetButtonFont(Font* font);
    virtual void SetHeaderFont(Font* font);
    virtual void SetLinesFont(Font* font);
    // The height the dialog needs at `width` to show all its text and buttons.
    virtual int GetPreferredHeight(int width);
    virtual bool IsModal() const { return m_isModal; }
    virtual int GetResult() const { return m_result; }

    void Resize(int x, int y, int width, int height) override;
    using Widget::Resize;
    void Draw(Graphics* g) override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    // Enter clicks the first button, Escape the second (or the only one).
    void KeyDown(int key) override;
    void OnButtonPress(int id) override;
    void OnButtonClick(int id) override;
    using ButtonListener::OnButtonPress;

    DialogListener* m_dialogListener = nullptr;
    Image* m_componentImage = nullptr; // not owned
    std::unique_ptr<DialogButton> m_yesButton; // the first button (yes, OK, or the footer button)
    std::unique_ptr<DialogButton> m_noButton;
    int m_numButtons = 0;
    std::string m_dialogHeader;
    std::string m_dialogFooter;
    std::string m_dialogLines;
    int m_buttonMode = kButtonsNone;
    std::unique_ptr<Font> m_headerFont;
    std::unique_ptr<Font> m_linesFont;
    int m_textAlign = -1; // justify of the body lines
    int m_lineSpacingOffset = 0;
    int m_buttonHeight = 24;
    Insets m_backgroundInsets;
    Insets m_contentInsets{12, 12, 12, 12};
    int m_spaceAfterHeader = 10;
    bool m_dragEnabled = true; // the header band moves the dialog
    bool m_dragging = false;
    int m_dragMouseX = 0;
    int m_dragMouseY = 0;
    int m_id = 0;
    bool m_isModal = false;
    int m_result = kNoResult;
    int m_buttonHorzSpacing = 8;
    int m_buttonSidePadding = 0;

protected:
    // Lays the buttons out along the bottom of the content area.
    void LayoutButtons();
    Font* EnsureHeaderFont();
    Font* EnsureLinesFont();
    int HeaderBandHeight();
};

} // namespace Vel
