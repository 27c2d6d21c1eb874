#include "LookAndFeelCustom.h"

// Colours, fonts, icons, buttons and toggles; the other drawing is in LookAndFeelCustomMenus.cpp
// and LookAndFeelCustomKnob.cpp.

#include <BinaryData.h>

namespace
{
juce::Typeface::Ptr embeddedTypeface (const char* data, int size)
{
    return juce::Typeface::createSystemTypefaceFor (data, (size_t) size);
}

juce::Typeface::Ptr semiboldTypeface()
{
    return embeddedTypeface (BinaryData::NotoSansSemiBold_ttf, BinaryData::NotoSansSemiBold_ttfSize);
}

std::unique_ptr<juce::Drawable> parseIcon (const void* data, int size, juce::Colour replacementForBlack)
{
    auto icon = juce::Drawable::createFromImageData (data, (size_t) size);

    if (icon != nullptr)
        icon->replaceColour (juce::Colours::black, replacementForBlack);

    return icon;
}
} // namespace

LookAndFeelCustom::LookAndFeelCustom() : rotaryColour (offWhiteBrightColour), arcFromCentre (false)
{
    using FileBrowser = juce::FileBrowserComponent;
    using DirectoryView = juce::DirectoryContentsDisplayComponent;

    setColour (FileBrowser::currentPathBoxBackgroundColourId, bgColour);
    setColour (FileBrowser::filenameBoxBackgroundColourId, bgColour);
    setColour (FileBrowser::currentPathBoxTextColourId, offWhiteBrightColour);
    setColour (FileBrowser::currentPathBoxArrowColourId, offWhiteBrightColour);
    setColour (FileBrowser::filenameBoxTextColourId, offWhiteBrightColour);
    setColour (juce::ListBox::backgroundColourId, bgColour);
    setColour (juce::ListBox::outlineColourId, bgColour);
    setColour (DirectoryView::highlightColourId, darkGrayColour);
    setColour (DirectoryView::textColourId, offWhiteBrightColour);
    setColour (DirectoryView::highlightedTextColourId, offWhiteBrightColour);
    setColour (juce::TextButton::buttonColourId, bgColour);
    setColour (juce::TextButton::buttonOnColourId, bgColour);
    setColour (juce::TextButton::textColourOffId, midGrayColour);
    setColour (juce::TextButton::textColourOnId, offWhiteBrightColour);
    setColour (juce::ComboBox::outlineColourId, borderColour);
    setColour (juce::ComboBox::backgroundColourId, bgColour);
    setColour (juce::ComboBox::textColourId, offWhiteBrightColour);
    setColour (juce::ComboBox::arrowColourId, offWhiteBrightColour);
    setColour (juce::ToggleButton::tickDisabledColourId, borderColour);
    setColour (juce::TextEditor::backgroundColourId, bgColour);
    setColour (juce::TextEditor::outlineColourId, bgColour);
    setColour (juce::TextEditor::focusedOutlineColourId, bgColour);
    setColour (juce::TextEditor::textColourId, offWhiteBrightColour);
    setColour (juce::TextEditor::highlightedTextColourId, offWhiteBrightColour);
    setColour (juce::PopupMenu::backgroundColourId, bgColour);
    setColour (juce::PopupMenu::textColourId, offWhiteBrightColour);
    setColour (juce::PopupMenu::headerTextColourId, offWhiteBrightColour);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, darkGrayColour);
    setColour (juce::PopupMenu::highlightedTextColourId, offWhiteBrightColour);
    setColour (juce::AlertWindow::backgroundColourId, bgColour);
    setColour (juce::AlertWindow::textColourId, offWhiteBrightColour);
    setColour (juce::AlertWindow::outlineColourId, bgColour);
    setColour (juce::ScrollBar::thumbColourId, offWhiteBrightColour);

    folderIcon = parseIcon (BinaryData::folder_svg, BinaryData::folder_svgSize, offWhiteBrightColour);
    documentIcon = parseIcon (BinaryData::document_svg, BinaryData::document_svgSize, offWhiteBrightColour);
}

LookAndFeelCustom::~LookAndFeelCustom() = default;

const juce::Font& LookAndFeelCustom::getProximaNovaSemibold()
{
    static const juce::Font font (semiboldTypeface());
    return font;
}

const juce::Font& LookAndFeelCustom::getProximaNovaCondSemibold()
{
    static const juce::Font font (
        embeddedTypeface (BinaryData::NotoSansCondensedSemiBold_ttf, BinaryData::NotoSansCondensedSemiBold_ttfSize));
    return font;
}

std::unique_ptr<juce::DrawablePath> LookAndFeelCustom::getCloseIcon()
{
    juce::Path cross;
    cross.startNewSubPath (0.0f, 0.0f);
    cross.lineTo (15.0f, 15.0f);
    cross.closeSubPath();
    cross.startNewSubPath (15.0f, 0.0f);
    cross.lineTo (0.0f, 15.0f);
    cross.closeSubPath();

    auto icon = std::make_unique<juce::DrawablePath>();
    icon->setPath (cross);
    icon->setFill (juce::Colours::transparentBlack);
    icon->setStrokeType (juce::PathStrokeType (2.0f));
    icon->setStrokeFill (juce::Colour (0xff000000));
    return icon;
}

juce::Typeface::Ptr LookAndFeelCustom::getTypefaceForFont (const juce::Font&)
{
    // Every text without a typeface of its own, whatever family or style it names, is drawn
    // in the embedded face, so the look does not depend on the fonts of the user's system.
    static const juce::Typeface::Ptr myFont = semiboldTypeface();
    return myFont;
}

juce::Path LookAndFeelCustom::getTickShape (float height)
{
    juce::Path tick;
    tick.startNewSubPath (-263.7f, 420.9f);
    tick.lineTo (-280.0f, 397.5f);
    tick.lineTo (-272.2f, 392.0f);
    tick.lineTo (-263.6f, 404.3f);
    tick.lineTo (-241.7f, 373.9f);
    tick.lineTo (-233.9f, 379.5f);
    tick.closeSubPath();
    tick.scaleToFit (0.0f, 0.0f, height * 2.0f, height, true);
    return tick;
}

void LookAndFeelCustom::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                              const juce::Colour& backgroundColour, bool shouldDrawButtonAsHighlighted,
                                              bool shouldDrawButtonAsDown)
{
    const auto bounds = juce::Rectangle<float> (0.5f, 0.5f, (float) juce::jmax (0, button.getWidth() - 1),
                                                (float) juce::jmax (0, button.getHeight() - 1));

    auto baseColour = backgroundColour.withMultipliedSaturation (button.hasKeyboardFocus (true) ? 1.3f : 0.9f)
                          .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);

    if (shouldDrawButtonAsDown)
        baseColour = baseColour.contrasting (0.2f);
    else if (shouldDrawButtonAsHighlighted)
        baseColour = baseColour.contrasting (0.05f);

    const auto cornerSize = bounds.getHeight() * 0.5f;

    g.setColour (baseColour);
    g.fillRoundedRectangle (bounds, cornerSize);

    g.setColour (midGrayColour);
    g.drawRoundedRectangle (bounds, cornerSize, 1.0f);
}

juce::Font LookAndFeelCustom::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return getProximaNovaSemibold().withHeight (juce::jmin ((float) buttonHeight * 0.7f, 12.0f));
}

juce::String LookAndFeelCustom::asOneLine (const juce::String& text)
{
    auto breaksLines = [] (juce::juce_wchar c)
    { return c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029; };

    juce::String line;
    auto previousBroke = false;

    for (auto p = text.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = p.getAndAdvance();
        const auto breaks = breaksLines (c);

        if (! breaks)
            line += c;
        else if (! previousBroke)
            line += ' ';

        previousBroke = breaks;
    }

    return line;
}

void LookAndFeelCustom::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawButtonLabel (g, button, button.getButtonText());
}

void LookAndFeelCustom::drawButtonLabel (juce::Graphics& g, juce::TextButton& button, const juce::String& text)
{
    const auto font = getTextButtonFont (button, button.getHeight());
    g.setFont (font);
    g.setColour (
        button
            .findColour (button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId)
            .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const auto yIndent = juce::jmin (4, juce::roundToInt ((float) height * 0.3f));
    const auto cornerSize = juce::jmin (height, width) / 2;
    const auto fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const auto leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const auto rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const auto textWidth = width - leftIndent - rightIndent;

    if (textWidth > 0)
        g.drawFittedText (text, leftIndent, yIndent + 1, textWidth, height - yIndent * 2, juce::Justification::centred,
                          2, 0.0f);
}

void LookAndFeelCustom::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button,
                                          bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto fontSize = juce::jmin (12.0f, (float) button.getHeight() * 0.75f);
    const auto tickWidth = fontSize * 1.4f;

    drawTickBox (g, button, 4.0f, ((float) button.getHeight() - tickWidth) * 0.5f, tickWidth, tickWidth,
                 button.getToggleState(), button.isEnabled(), shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    g.setColour (button.findColour (juce::ToggleButton::textColourId));
    g.setFont (fontSize);

    if (! button.isEnabled())
        g.setOpacity (0.5f);

    const auto textX = juce::roundToInt (tickWidth) + 10;
    g.drawFittedText (button.getButtonText(), textX, 0, juce::jmax (0, button.getWidth() - textX - 2),
                      button.getHeight(), juce::Justification::centredLeft, 10);
}

int LookAndFeelCustom::getAlertWindowButtonHeight() { return 24; }

juce::Font LookAndFeelCustom::getAlertWindowTitleFont() { return juce::Font (15.0f); }

juce::Font LookAndFeelCustom::getAlertWindowMessageFont() { return juce::Font (12.0f); }

juce::Font LookAndFeelCustom::getAlertWindowFont() { return juce::Font (12.0f); }
