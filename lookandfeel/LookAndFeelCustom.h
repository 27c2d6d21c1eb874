#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The plug-in's look and feel: the palette, the embedded fonts and the drawing of every
    standard widget the editor uses. One instance is the default look and feel while an
    editor is open; panels own further instances to give their knobs a mode's colour.

    The definition is split by concern: LookAndFeelCustom.cpp (colours, fonts, icons, buttons
    and toggles), LookAndFeelCustomMenus.cpp (menus, combo box, alert and call-out boxes, file
    rows and tree arrows) and LookAndFeelCustomKnob.cpp (the knob and its value box). */
class LookAndFeelCustom : public juce::LookAndFeel_V4
{
public:
    LookAndFeelCustom();
    ~LookAndFeelCustom() override;

    static inline const juce::Colour bgColour { 0xff151617 };
    static inline const juce::Colour offWhiteColour { 0xffcdcdcd };
    static inline const juce::Colour offWhiteBrightColour { 0xffe2e8eb };
    static inline const juce::Colour darkGrayColour { 0xff2e3238 };
    static inline const juce::Colour midGrayColour { 0xff717b89 };
    static inline const juce::Colour borderColour { 0xff30353c };
    static inline const juce::Colour blueColour { 0xff5d90ff };
    static inline const juce::Colour redColour { 0xffdc5a57 };
    static inline const juce::Colour greenColour { 0xff02cab2 };
    static inline const juce::Colour orangeColour { 0xfff18652 };

    /** The embedded semibold face. Built once; callers copy it and set their own height. */
    static const juce::Font& getProximaNovaSemibold();

    /** The embedded condensed face, for headings, scales, value boxes and tab labels. */
    static const juce::Font& getProximaNovaCondSemibold();

    /** A new 15 x 15 cross drawn with two black strokes; the caller owns and recolours it. */
    static std::unique_ptr<juce::DrawablePath> getCloseIcon();

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;
    juce::Path getTickShape (float height) override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;

    void drawAlertBox (juce::Graphics&, juce::AlertWindow&, const juce::Rectangle<int>& textArea,
                       juce::TextLayout&) override;
    int getAlertWindowButtonHeight() override;
    juce::Font getAlertWindowTitleFont() override;
    juce::Font getAlertWindowMessageFont() override;
    juce::Font getAlertWindowFont() override;

    void drawTreeviewPlusMinusBox (juce::Graphics&, const juce::Rectangle<float>& area, juce::Colour backgroundColour,
                                   bool isOpen, bool isMouseOver) override;
    int getTreeViewIndentSize (juce::TreeView&) override;
    void drawFileBrowserRow (juce::Graphics&, int width, int height, const juce::File& file,
                             const juce::String& filename, juce::Image* icon, const juce::String& fileSizeDescription,
                             const juce::String& fileTimeDescription, bool isDirectory, bool isItemSelected,
                             int itemIndex, juce::DirectoryContentsDisplayComponent&) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                            const juce::String& shortcutKeyText, const juce::Drawable* icon,
                            const juce::Colour* textColour) override;
    juce::Font getPopupMenuFont() override;
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW,
                       int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Label* createSliderTextBox (juce::Slider&) override;

    void drawCallOutBoxBackground (juce::CallOutBox&, juce::Graphics&, const juce::Path&, juce::Image&) override;

    /** Draws a knob in the given colour. Only x and width place it: the ring is always 50 px
        across at the top of the area, whatever the height. */
    void drawRotarySliderColour (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                                 float rotaryStartAngle, float rotaryEndAngle, juce::Slider&, juce::Colour colour);

protected:
    /** The text with each run of line breaks and other control characters turned into one
        space. The framework's fitted text starts a full-size line at every break whatever its
        line limit, and draws other control characters as boxes; a preset name may hold any. */
    static juce::String asOneLine (const juce::String& text);

    /** drawButtonText's layout for the given text in place of the button's own. */
    void drawButtonLabel (juce::Graphics&, juce::TextButton&, const juce::String& text);

private:
    std::unique_ptr<juce::Drawable> documentIcon;
    std::unique_ptr<juce::Drawable> folderIcon;

public:
    /** Colour of the knobs' value arc and pointer; panels set their mode's accent here. */
    juce::Colour rotaryColour;

    /** When true the value arc starts at mid travel, for controls centred on a neutral value. */
    bool arcFromCentre;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LookAndFeelCustom)
};
