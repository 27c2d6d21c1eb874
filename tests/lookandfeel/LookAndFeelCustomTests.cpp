#include "RenderHelpers.h"

#include "lookandfeel/LookAndFeelCustom.h"

#include <BinaryData.h>

namespace
{
juce::Image drawText (const juce::String& name, const juce::Font& font)
{
    return render::draw (name, 220, 40,
                         [&font] (juce::Graphics& g)
                         {
                             g.setColour (juce::Colours::white);
                             g.setFont (font);
                             g.drawText ("Tidewell 4.0kHz", 0, 0, 220, 40, juce::Justification::centredLeft);
                         });
}

/** Makes a look and feel the default for a while. The framework caches the typefaces it has
    looked up, so the cache is emptied on each change. */
struct DefaultLookAndFeel
{
    explicit DefaultLookAndFeel (juce::LookAndFeel* lf)
    {
        juce::LookAndFeel::setDefaultLookAndFeel (lf);
        juce::Typeface::clearTypefaceCache();
    }

    ~DefaultLookAndFeel()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        juce::Typeface::clearTypefaceCache();
    }
};

struct FileList : juce::DirectoryContentsDisplayComponent
{
    using DirectoryContentsDisplayComponent::DirectoryContentsDisplayComponent;
    int getNumSelectedFiles() const override { return 0; }
    juce::File getSelectedFile (int) const override { return {}; }
    void deselectAllFiles() override {}
    void scrollToTop() override {}
    void setSelectedFile (const juce::File&) override {}
};

class FileRows : public testing::Test
{
protected:
    LookAndFeelCustom lf;
    juce::TimeSliceThread thread{ "unused" };
    juce::DirectoryContentsList contents{ nullptr, thread };
    FileList list{ contents };

    juce::Image row (const juce::String& filename, bool isDirectory = false, bool selected = false)
    {
        return render::draw (
            "file-row-" + filename, 200, 20,
            [&] (juce::Graphics& g)
            { lf.drawFileBrowserRow (g, 200, 20, {}, filename, nullptr, {}, {}, isDirectory, selected, 0, list); });
    }

    /** How the name area of a row (right of x 24) looks when it shows exactly this text. */
    static juce::Image nameShowing (const juce::String& text)
    {
        return render::draw ("file-row-expected-" + text, 176, 20,
                             [&text] (juce::Graphics& g)
                             {
                                 g.setColour (LookAndFeelCustom::offWhiteBrightColour);
                                 g.setFont (12.0f);
                                 g.drawText (text, 0, 1, 176, 20, juce::Justification::centredLeft, true);
                             });
    }
};
} // namespace

TEST (LookAndFeelMetrics, fontsAndSizesOfButtonsMenusComboBoxesTreesAndAlerts)
{
    LookAndFeelCustom lf;
    juce::TextButton button;
    EXPECT_FLOAT_EQ (lf.getTextButtonFont (button, 20).getHeight(), 12.0f);
    EXPECT_FLOAT_EQ (lf.getTextButtonFont (button, 10).getHeight(), 7.0f);
    EXPECT_EQ (lf.getTextButtonFont (button, 20).getTypefacePtr(),
               LookAndFeelCustom::getProximaNovaSemibold().getTypefacePtr());

    auto idealSize = [&lf] (const juce::String& text, bool isSeparator, int standardHeight)
    {
        int width = 0, height = 0;
        lf.getIdealPopupMenuItemSize (text, isSeparator, standardHeight, width, height);
        return juce::Rectangle<int> (width, height);
    };
    auto textWidth = [] (const juce::String& text, float height)
    { return (int) std::ceil (juce::Font (height).getStringWidthFloat (text)); };
    const juce::String item ("Copy Sixty settings");
    EXPECT_EQ (idealSize ({}, true, 0), juce::Rectangle<int> (50, 10));
    EXPECT_EQ (idealSize ({}, true, 20), juce::Rectangle<int> (50, 10));
    EXPECT_EQ (idealSize (item, false, 0), juce::Rectangle<int> (textWidth (item, 12.0f) + 48, 24));
    EXPECT_EQ (idealSize (item, false, 20), juce::Rectangle<int> (textWidth (item, 10.0f) + 40, 20));

    juce::ComboBox combo;
    juce::Label comboText;
    combo.setSize (275, 25);
    lf.positionComboBoxText (combo, comboText);
    EXPECT_EQ (comboText.getBounds(), juce::Rectangle<int> (7, 1, 239, 23));
    EXPECT_FLOAT_EQ (comboText.getFont().getHeight(), 12.0f);

    juce::TreeView tree;
    EXPECT_EQ (lf.getTreeViewIndentSize (tree), 24);

    EXPECT_EQ (lf.getAlertWindowButtonHeight(), 24);
    EXPECT_FLOAT_EQ (lf.getAlertWindowTitleFont().getHeight(), 15.0f);
    EXPECT_FALSE (lf.getAlertWindowTitleFont().isBold());
    EXPECT_FLOAT_EQ (lf.getAlertWindowMessageFont().getHeight(), 12.0f);
    EXPECT_FLOAT_EQ (lf.getAlertWindowFont().getHeight(), 12.0f);

    // The tick outline is 46.1 x 47.0, fitted into a box twice as wide as high and centred.
    for (auto height : { 1.0f, 0.75f })
    {
        const auto tick = lf.getTickShape (height).getBounds();
        EXPECT_NEAR (tick.getY(), 0.0f, 1.0e-4f);
        EXPECT_NEAR (tick.getHeight(), height, 1.0e-4f);
        EXPECT_NEAR (tick.getWidth(), height * 46.1f / 47.0f, 1.0e-3f);
        EXPECT_NEAR (tick.getCentreX(), height, 1.0e-4f);
    }
}

TEST (EmbeddedFonts, aFontNamingAnotherFamilyDrawsInTheEmbeddedFace)
{
    // A font keeps the typeface it first resolved to, so each drawing gets a fresh one.
    auto otherFamily = [] { return juce::Font ("DejaVu Serif", 20.0f, juce::Font::bold); };
    LookAndFeelCustom lf;
    juce::Image requested, embedded;
    {
        DefaultLookAndFeel useCustom (&lf);
        requested = drawText ("font-requested-serif-bold", otherFamily());
        embedded = drawText ("font-embedded-semibold", LookAndFeelCustom::getProximaNovaSemibold().withHeight (20.0f));
    }

    EXPECT_FALSE (render::inkBounds (embedded).isEmpty());
    EXPECT_TRUE (render::samePixels (requested, embedded));
    EXPECT_FALSE (render::samePixels (drawText ("font-system-serif-bold", otherFamily()), embedded))
        << "without the look and feel the request is not rerouted";
}

TEST (EmbeddedFonts, theAccessorsShareOneFontAndACondensedCopyStaysCondensed)
{
    EXPECT_EQ (&LookAndFeelCustom::getProximaNovaSemibold(), &LookAndFeelCustom::getProximaNovaSemibold());
    EXPECT_EQ (&LookAndFeelCustom::getProximaNovaCondSemibold(), &LookAndFeelCustom::getProximaNovaCondSemibold());

    LookAndFeelCustom lf;
    DefaultLookAndFeel useCustom (&lf);

    auto widthOverHeight = [] (const juce::String& name, const juce::Font& font)
    {
        const auto ink = render::inkBounds (drawText (name, font), 127);
        return (float) ink.getWidth() / (float) ink.getHeight();
    };
    EXPECT_LT (widthOverHeight ("font-condensed", LookAndFeelCustom::getProximaNovaCondSemibold().withHeight (20.0f)),
               widthOverHeight ("font-semibold", LookAndFeelCustom::getProximaNovaSemibold().withHeight (20.0f)) *
                   0.9f);
}

TEST (EmbeddedFonts, twelvePointTextIsReadableAtFullSizeAndBothFacesDrawLettersOfOneHeight)
{
    auto heightOf = [] (const juce::Font& font, juce::juce_wchar c)
    {
        juce::Path outline;
        font.getTypefacePtr()->getOutlineForGlyph ((int) c, outline);
        return outline.getBounds().getHeight() * font.getHeight();
    };

    const auto semibold = LookAndFeelCustom::getProximaNovaSemibold().withHeight (12.0f);
    const auto condensed = LookAndFeelCustom::getProximaNovaCondSemibold().withHeight (12.0f);
    EXPECT_GE (heightOf (semibold, 'H'), 7.2f) << "capitals of an em of 10 px at least";
    EXPECT_NEAR (heightOf (semibold, 'H'), heightOf (condensed, 'H'), 0.05f);
    EXPECT_NEAR (heightOf (semibold, 'x'), heightOf (condensed, 'x'), 0.05f);

    // Light text on the dark background is drawn bolder; the dot of an i must still stand
    // apart from its stem, with a faint pixel row between them.
    for (const auto& font : { semibold, condensed })
    {
        const auto image = render::draw ("font-i-" + font.getTypefaceName(), 12, 24,
                                         [&font] (juce::Graphics& g)
                                         {
                                             g.setColour (LookAndFeelCustom::offWhiteBrightColour);
                                             g.setFont (font);
                                             g.drawSingleLineText ("i", 4, 20);
                                         });

        const auto stemColumn = render::inkBounds (image, 200).getCentreX();
        juce::String rows;
        for (int y = 0; y < 20; ++y)
        {
            const auto alpha = render::alphaAt (image, stemColumn, y);
            rows << (alpha > 200 ? "#" : alpha < 100 ? "." : "+");
        }

        EXPECT_TRUE (rows.contains ("#.#")) << font.getTypefaceName() << " draws the i as " << rows;
    }
}

TEST (EmbeddedImages, everyIconParsesAndTakesItsColourAndTheCloseIconIsFreshEachTime)
{
    const std::tuple<const char*, const char*, int> icons[] = {
        { "settings", BinaryData::settings_svg, BinaryData::settings_svgSize },
        { "save", BinaryData::save_svg, BinaryData::save_svgSize },
        { "document", BinaryData::document_svg, BinaryData::document_svgSize },
        { "folder", BinaryData::folder_svg, BinaryData::folder_svgSize },
        { "logo", BinaryData::logo_svg, BinaryData::logo_svgSize },
        { "power", BinaryData::power_svg, BinaryData::power_svgSize },
        { "refresh", BinaryData::refresh_svg, BinaryData::refresh_svgSize },
    };

    for (auto [name, data, size] : icons)
    {
        auto icon = juce::Drawable::createFromImageData (data, (size_t) size);
        ASSERT_NE (icon, nullptr) << name;
        icon->replaceColour (juce::Colours::black, LookAndFeelCustom::offWhiteBrightColour);

        auto paint = [&icon] (juce::Graphics& g) { icon->drawWithin (g, { 213.0f, 80.0f }, {}, 1.0f); };
        const auto drawn = render::strongestPixel (render::draw (juce::String ("icon-") + name, 213, 80, paint));
        const auto folder = juce::String (name) == "folder";
        EXPECT_TRUE (
            render::sameColour (drawn, folder ? juce::Colour (0xffd2d2d2) : LookAndFeelCustom::offWhiteBrightColour))
            << name;
    }

    auto first = LookAndFeelCustom::getCloseIcon();
    auto second = LookAndFeelCustom::getCloseIcon();
    first->setStrokeFill (LookAndFeelCustom::offWhiteColour);
    EXPECT_EQ (second->getStrokeFill().colour, juce::Colour (0xff000000));
    EXPECT_EQ (second->getPath().getBounds(), juce::Rectangle<float> (15.0f, 15.0f));
}

TEST_F (FileRows, aRowShowsTheNameWithoutItsLastExtension)
{
    const std::pair<const char*, const char*> cases[] = { { "Warm Chorus.qexp", "Warm Chorus" },
                                                          { "archive.tar.gz", "archive.tar" },
                                                          { "README", "README" },
                                                          { ".hidden", "" } };

    for (auto [filename, shown] : cases)
        EXPECT_TRUE (render::samePixels (row (filename).getClippedImage ({ 24, 0, 176, 20 }), nameShowing (shown)))
            << filename;
}

TEST_F (FileRows, foldersKeepTheirGreyIconFilesTakeTheTextColourAndSelectionHighlights)
{
    const auto folderIcon = row ("Factory", true).getClippedImage ({ 0, 3, 17, 14 });
    EXPECT_TRUE (render::sameColour (render::strongestPixel (folderIcon), juce::Colour (0xffd2d2d2)));

    const auto selectedFile = row ("Init.qexp", false, true);
    EXPECT_TRUE (render::colourAt (selectedFile, 8, 10, LookAndFeelCustom::offWhiteBrightColour)) << "document icon";
    EXPECT_TRUE (render::colourAt (selectedFile, 190, 2, LookAndFeelCustom::darkGrayColour)) << "highlight";
}
