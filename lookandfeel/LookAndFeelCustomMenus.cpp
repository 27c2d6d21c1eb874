#include "LookAndFeelCustom.h"

// Menus, the combo box, alert and call-out boxes, file rows and tree arrows.

void LookAndFeelCustom::drawAlertBox (juce::Graphics& g, juce::AlertWindow& alert, const juce::Rectangle<int>& textArea,
                                      juce::TextLayout& textLayout)
{
    g.setColour (alert.findColour (juce::AlertWindow::outlineColourId));
    g.drawRect (alert.getLocalBounds().toFloat(), 2.0f);

    const auto bounds = alert.getLocalBounds().reduced (1);
    g.reduceClipRegion (bounds);

    g.setColour (alert.findColour (juce::AlertWindow::backgroundColourId));
    g.fillRect (bounds);

    auto iconSize = juce::jmin (130, bounds.getHeight() + 20);

    if (alert.containsAnyExtraComponents() || alert.getNumButtons() > 2)
        iconSize = juce::jmin (iconSize, textArea.getHeight() + 50);

    const juce::Rectangle<int> iconRect (iconSize / -10, iconSize / -10, iconSize, iconSize);
    auto iconSpaceUsed = 0;

    if (alert.getAlertType() != juce::MessageBoxIconType::NoIcon)
    {
        juce::Path icon;
        juce::juce_wchar character;
        juce::Colour colour;

        if (alert.getAlertType() == juce::MessageBoxIconType::WarningIcon)
        {
            character = '!';
            colour = juce::Colour (0x66ff2a00);

            const auto r = iconRect.toFloat();
            icon.addTriangle (r.getCentreX(), r.getY(), r.getRight(), r.getBottom(), r.getX(), r.getBottom());
            icon = icon.createPathWithRoundedCorners (5.0f);
        }
        else
        {
            character = alert.getAlertType() == juce::MessageBoxIconType::InfoIcon ? 'i' : '?';
            colour = juce::Colour (0x6600b0b9);
            icon.addEllipse (iconRect.toFloat());
        }

        juce::GlyphArrangement glyphs;
        glyphs.addFittedText (juce::Font ((float) iconRect.getHeight() * 0.9f, juce::Font::bold),
                              juce::String::charToString (character), (float) iconRect.getX(), (float) iconRect.getY(),
                              (float) iconRect.getWidth(), (float) iconRect.getHeight(), juce::Justification::centred,
                              false);
        glyphs.createPath (icon);

        // Even-odd filling cuts the character out of the shape.
        icon.setUsingNonZeroWinding (false);
        g.setColour (colour);
        g.fillPath (icon);

        iconSpaceUsed = 80;
    }

    g.setColour (alert.findColour (juce::AlertWindow::textColourId));

    const juce::Rectangle<int> textBounds (bounds.getX() + iconSpaceUsed, 30, bounds.getWidth(),
                                           bounds.getHeight() - getAlertWindowButtonHeight() - 20);
    textLayout.draw (g, textBounds.toFloat());
}

void LookAndFeelCustom::drawTreeviewPlusMinusBox (juce::Graphics& g, const juce::Rectangle<float>& area, juce::Colour,
                                                  bool isOpen, bool)
{
    juce::Path triangle;
    triangle.addTriangle (0.0f, 0.0f, 1.0f, isOpen ? 0.0f : 0.5f, isOpen ? 0.5f : 0.0f, 1.0f);

    g.setColour (offWhiteBrightColour);
    g.fillPath (triangle, triangle.getTransformToScaleToFit (area.getX() + 4.0f, 6.0f, 8.0f, 8.0f, true));
}

int LookAndFeelCustom::getTreeViewIndentSize (juce::TreeView&) { return 24; }

void LookAndFeelCustom::drawFileBrowserRow (juce::Graphics& g, int width, int height, const juce::File&,
                                            const juce::String& filename, juce::Image*, const juce::String&,
                                            const juce::String&, bool isDirectory, bool isItemSelected, int,
                                            juce::DirectoryContentsDisplayComponent& dcc)
{
    auto* listComponent = dynamic_cast<juce::Component*> (&dcc);
    auto colourOf = [this, listComponent] (int colourId)
    { return listComponent != nullptr ? listComponent->findColour (colourId) : findColour (colourId); };

    if (isItemSelected)
        g.fillAll (colourOf (juce::DirectoryContentsDisplayComponent::highlightColourId));

    g.setColour (juce::Colours::black);

    auto& icon = isDirectory ? folderIcon : documentIcon;
    const auto iconArea = isDirectory ? juce::Rectangle<float> (0.0f, 3.0f, 17.0f, 14.0f)
                                      : juce::Rectangle<float> (3.0f, 3.0f, 11.0f, 15.0f);

    if (icon != nullptr)
    {
        icon->setTransformToFit (iconArea, juce::RectanglePlacement::stretchToFit);
        icon->draw (g, 1.0f);
    }

    g.setColour (colourOf (isItemSelected ? juce::DirectoryContentsDisplayComponent::highlightedTextColourId
                                          : juce::DirectoryContentsDisplayComponent::textColourId));
    g.setFont (12.0f);

    // Users pick presets by name: the extension is noise, and a name that is all extension
    // (a hidden file) shows nothing.
    const auto name = filename.upToLastOccurrenceOf (".", false, false);
    g.drawText (name, 24, 1, width - 24, height, juce::Justification::centredLeft, true);
}

void LookAndFeelCustom::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
}

void LookAndFeelCustom::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
                                           bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                                           const juce::String& text, const juce::String& shortcutKeyText,
                                           const juce::Drawable* icon, const juce::Colour* textColour)
{
    if (isSeparator)
    {
        auto r = area.reduced (5, 0);
        r.removeFromTop (juce::roundToInt ((float) r.getHeight() * 0.5f - 0.5f));

        g.setColour (findColour (juce::PopupMenu::textColourId).withAlpha ((juce::uint8) 0x4c));
        g.fillRect (r.removeFromTop (1));
        return;
    }

    const auto colour = textColour != nullptr ? *textColour : findColour (juce::PopupMenu::textColourId);
    auto r = area.reduced (1);

    if (isHighlighted && isActive)
    {
        g.setColour (findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.fillRect (r);
        g.setColour (findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (colour.withMultipliedAlpha (isActive ? 1.0f : 0.5f));
    }

    r.reduce (juce::jmin (5, area.getWidth() / 20), 0);

    auto font = getPopupMenuFont();
    const auto maxFontHeight = (float) r.getHeight() / 1.3f;

    if (font.getHeight() > maxFontHeight)
        font.setHeight (maxFontHeight);

    g.setFont (font);

    const auto iconArea = r.removeFromLeft (juce::roundToInt (maxFontHeight)).toFloat();

    if (icon != nullptr)
    {
        icon->drawWithin (g, iconArea, juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize,
                          1.0f);
        r.removeFromLeft (juce::roundToInt (maxFontHeight * 0.5f));
    }
    else if (isTicked)
    {
        const auto tick = getTickShape (1.0f);
        g.fillPath (tick, tick.getTransformToScaleToFit (iconArea.reduced (iconArea.getWidth() / 4.0f, 0.0f), true));
    }

    if (hasSubMenu)
    {
        const auto arrowH = 0.6f * getPopupMenuFont().getAscent();
        const auto x = (float) r.removeFromRight ((int) arrowH).getX();
        const auto halfH = (float) r.getCentreY();

        juce::Path arrow;
        arrow.startNewSubPath (x, halfH - arrowH * 0.5f);
        arrow.lineTo (x + arrowH * 0.6f, halfH);
        arrow.lineTo (x, halfH + arrowH * 0.5f);
        g.strokePath (arrow, juce::PathStrokeType (2.0f));
    }

    r.removeFromRight (3);
    g.drawFittedText (asOneLine (text), r, juce::Justification::centredLeft, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        g.setFont (font.withHeight (font.getHeight() * 0.75f).withHorizontalScale (0.95f));
        g.drawText (shortcutKeyText, r, juce::Justification::centredRight, true);
    }
}

juce::Font LookAndFeelCustom::getPopupMenuFont() { return juce::Font (12.0f); }

void LookAndFeelCustom::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                   int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight / 2 : 10;
        return;
    }

    auto font = getPopupMenuFont();

    if (standardMenuItemHeight > 0)
    {
        idealHeight = standardMenuItemHeight;
        font.setHeight (juce::jmin (font.getHeight(), (float) standardMenuItemHeight * 0.5f));
    }
    else
    {
        idealHeight = juce::roundToInt (font.getHeight() * 2.0f);
    }

    idealWidth = (int) std::ceil (font.getStringWidthFloat (asOneLine (text))) + idealHeight * 2;
}

void LookAndFeelCustom::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                      juce::ComboBox& box)
{
    g.setColour (box.findColour (juce::ComboBox::backgroundColourId));
    g.fillRect (0, 0, width, height);

    g.setColour (box.findColour (juce::ComboBox::outlineColourId));
    g.drawRect (0, 0, width, height, 1);

    const auto cy = (float) (height / 2);
    const auto right = (float) width;

    juce::Path arrow;
    arrow.startNewSubPath (right - 27.0f, cy - 2.0f);
    arrow.lineTo (right - 20.0f, cy + 3.0f);
    arrow.lineTo (right - 13.0f, cy - 2.0f);

    g.setColour (box.findColour (juce::ComboBox::arrowColourId)
                     .withAlpha (box.isEnabled() ? (juce::uint8) 0xff : (juce::uint8) 0x33));
    g.strokePath (arrow, juce::PathStrokeType (2.0f));
}

juce::Font LookAndFeelCustom::getComboBoxFont (juce::ComboBox&) { return juce::Font (12.0f); }

void LookAndFeelCustom::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (7, 1, box.getWidth() - 36, box.getHeight() - 2);
    label.setFont (getComboBoxFont (box));
}

void LookAndFeelCustom::drawCallOutBoxBackground (juce::CallOutBox& box, juce::Graphics& g, const juce::Path& path,
                                                  juce::Image& cachedImage)
{
    // A flat bubble whose arrow always points left from the middle of its left edge.
    const auto area = path.getBounds();
    const auto x = area.getX(), y = area.getY(), w = area.getWidth(), h = area.getHeight();

    juce::Path bubble;
    bubble.addBubble ({ x + 15.7f, y + 4.5f, juce::jmax (0.0f, w - 20.2f), juce::jmax (0.0f, h - 9.0f) },
                      { x + 8.5f, y, w - 8.5f, h }, { x + 8.5f, y + h * 0.5f }, 0.0f, 5.6f);

    if (cachedImage.isNull())
    {
        cachedImage = juce::Image (juce::Image::ARGB, box.getWidth(), box.getHeight(), true);
        juce::Graphics shadowGraphics (cachedImage);
        juce::DropShadow (juce::Colours::black.withAlpha ((juce::uint8) 0x66), 10, { 0, 2 })
            .drawForPath (shadowGraphics, bubble);
    }

    g.setColour (juce::Colours::black);
    g.drawImageAt (cachedImage, 0, 0);

    g.setColour (bgColour);
    g.fillPath (bubble);

    g.setColour (juce::Colour (0xff232525));
    g.strokePath (bubble, juce::PathStrokeType (1.0f));
}
