#include "RenderHelpers.h"

#include "editor/PluginEditor.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "processor/ProductInfo.h"

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

/** The texts that a TrueType file's name table holds for one name ID, one per record: UTF-16
    in the Unicode and Windows records, one byte a character in the Macintosh ones. */
std::vector<juce::String> nameRecords (const char* data, int size, uint32_t nameID)
{
    const auto* bytes = reinterpret_cast<const uint8_t*> (data);
    const auto end = (size_t) size;
    auto u8 = [&] (size_t at) -> uint32_t { return at < end ? bytes[at] : 0; };
    auto u16 = [&] (size_t at) { return u8 (at) << 8 | u8 (at + 1); };
    auto u32 = [&] (size_t at) { return u16 (at) << 16 | u16 (at + 2); };

    std::vector<juce::String> texts;
    for (size_t table = 0; table < u16 (4); ++table)
    {
        const auto entry = 12 + 16 * table;
        if (u32 (entry) != 0x6e616d65) // 'name'
            continue;

        const size_t start = u32 (entry + 8);
        const size_t strings = start + u16 (start + 4);
        for (size_t index = 0; index < u16 (start + 2); ++index)
        {
            const auto record = start + 6 + 12 * index;
            if (u16 (record + 6) != nameID)
                continue;

            const auto step = u16 (record) == 1 ? 1u : 2u;
            const size_t at = strings + u16 (record + 10), length = u16 (record + 8);
            juce::String text;
            for (size_t i = 0; i < length; i += step)
                text += (juce::juce_wchar) (step == 1 ? u8 (at + i) : u16 (at + i));
            texts.push_back (text);
        }
    }
    return texts;
}

class FileRows : public testing::Test
{
protected:
    LookAndFeelCustom lf;
    juce::TimeSliceThread thread { "unused" };
    juce::DirectoryContentsList contents { nullptr, thread };
    juce::FileListComponent list { contents };

    FileRows() { list.setLookAndFeel (&lf); }
    ~FileRows() override { list.setLookAndFeel (nullptr); }

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

TEST (EmbeddedFonts, aFontNamingAnotherFamilyDrawsInTheEmbeddedFace)
{
    // A font keeps the typeface it first resolved to, so each drawing gets a fresh one.
    auto otherFamily = [] { return juce::Font ("DejaVu Serif", 20.0f, juce::Font::bold); };
    juce::Image requested, embedded;
    {
        const QexTidewellAudioProcessorEditor::DefaultPluginLookAndFeel useCustom;
        requested = drawText ("font-requested-serif-bold", otherFamily());
        embedded = drawText ("font-embedded-semibold", LookAndFeelCustom::getProximaNovaSemibold().withHeight (20.0f));
    }

    EXPECT_FALSE (render::inkBounds (embedded).isEmpty());
    EXPECT_TRUE (render::samePixels (requested, embedded));
    EXPECT_FALSE (render::samePixels (drawText ("font-system-serif-bold", otherFamily()), embedded))
        << "without the look and feel the request is not rerouted";
}

TEST (EmbeddedFonts, twelvePointTextIsReadableAtFullSizeAndTheCondensedFaceIsNarrowerWithLettersOfOneHeight)
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

    auto widthOverHeight = [] (const juce::String& name, const juce::Font& font)
    {
        const auto ink = render::inkBounds (drawText (name, font.withHeight (20.0f)), 127);
        return (float) ink.getWidth() / (float) ink.getHeight();
    };
    EXPECT_LT (widthOverHeight ("font-condensed", condensed), widthOverHeight ("font-semibold", semibold) * 0.9f);

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

TEST (EmbeddedFonts, theSemiboldFaceDrawsEveryLetterAndSignTheCondensedFaceDraws)
{
    // Preset names are drawn in the semibold face, values and headings in the condensed one:
    // a name must not show boxes where a value would show letters.
    auto draws = [] (const juce::Font& font, juce::juce_wchar c)
    {
        auto& face = *font.getTypefacePtr();
        juce::Path outline, missing;
        face.getOutlineForGlyph ((int) c, outline);
        face.getOutlineForGlyph (0x4e00, missing); // a CJK ideograph, in neither face
        return ! outline.isEmpty() && outline != missing;
    };

    const auto& semibold = LookAndFeelCustom::getProximaNovaSemibold();
    const auto& condensed = LookAndFeelCustom::getProximaNovaCondSemibold();

    // Latin with its extensions and IPA, Greek, Cyrillic with its supplement, polytonic Greek
    // and the currency signs.
    const std::pair<juce::juce_wchar, juce::juce_wchar> blocks[] = {
        { 0x21, 0x2af }, { 0x370, 0x52f }, { 0x1e00, 0x1fff }, { 0x20a0, 0x20cf }
    };

    juce::String lacking;
    int condensedCount = 0;
    for (auto [first, last] : blocks)
        for (auto c = first; c <= last; ++c)
            if (draws (condensed, c))
            {
                ++condensedCount;
                if (! draws (semibold, c))
                    lacking << juce::String::charToString (c);
            }

    EXPECT_GT (condensedCount, 1500);
    EXPECT_TRUE (lacking.isEmpty()) << lacking;

    // Azerbaijani, Pinyin, polytonic Greek, the rouble and hryvnia signs and the capital sharp s.
    for (auto c : juce::String::fromUTF8 (u8"Əəǎǐǒǔἀῥῳ₽₴ẞ"))
        EXPECT_TRUE (draws (condensed, c) && draws (semibold, c)) << juce::String::charToString (c);
}

TEST (EmbeddedFonts, theSemiboldFaceKernsPairsInLatinCyrillicAndItsExtensions)
{
    // The framework reads kerning only from the legacy table; these pairs lie in each of its
    // subtables.
    const auto font = LookAndFeelCustom::getProximaNovaSemibold().withHeight (12.0f);

    for (const auto* pair : { u8"To", u8"ът", u8"Ţa" })
    {
        const auto text = juce::String::fromUTF8 (pair);
        const auto apart =
            font.getStringWidthFloat (text.substring (0, 1)) + font.getStringWidthFloat (text.substring (1));
        EXPECT_LT (font.getStringWidthFloat (text), apart - 0.3f) << text;
    }
}

TEST (EmbeddedFonts, eachFaceCallsItselfAModifiedVersionInItsVersionStringAndUniqueId)
{
    // The faces are changed from the originals (no hinting, new metrics, a kern table); their
    // licence asks that such versions not pass for the original in their name records.
    const auto modifiedFor = juce::String ("; modified for ") + ProductInfo::name + " by " + ProductInfo::maker;
    const auto ourId = juce::String (";") + ProductInfo::maker + ";";

    int faces = 0;
    for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
    {
        const juce::String name (BinaryData::namedResourceList[i]);
        if (! name.endsWith ("_ttf"))
            continue;

        ++faces;
        int size = 0;
        const auto* data = BinaryData::getNamedResource (name.toRawUTF8(), size);
        const auto versions = nameRecords (data, size, 5), ids = nameRecords (data, size, 3);
        EXPECT_FALSE (versions.empty() || ids.empty()) << name;
        for (const auto& version : versions)
            EXPECT_TRUE (version.startsWith ("Version ") && version.contains (modifiedFor)
                         && ! version.contains ("ttfautohint"))
                << name << ": " << version;
        for (const auto& id : ids)
            EXPECT_TRUE (id.contains (ourId) && id.endsWith (ProductInfo::name)) << name << ": " << id;
    }
    EXPECT_EQ (faces, 2);
}

TEST (EmbeddedImages, everyIconParsesAndTakesTheColourItIsGiven)
{
    int iconCount = 0;
    for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
    {
        const juce::String name (BinaryData::namedResourceList[i]);
        if (! name.endsWith ("_svg"))
            continue;

        int size = 0;
        const auto* data = BinaryData::getNamedResource (name.toRawUTF8(), size);
        auto icon = juce::Drawable::createFromImageData (data, (size_t) size);
        ASSERT_NE (icon, nullptr) << name;
        icon->replaceColour (juce::Colours::black, LookAndFeelCustom::offWhiteBrightColour);

        auto paint = [&icon] (juce::Graphics& g) { icon->drawWithin (g, { 213.0f, 80.0f }, {}, 1.0f); };
        const auto drawn = render::strongestPixel (render::draw ("icon-" + name, 213, 80, paint));
        const auto expected =
            name == "folder_svg" ? juce::Colour (0xffd2d2d2) : LookAndFeelCustom::offWhiteBrightColour;
        EXPECT_TRUE (render::sameColour (drawn, expected)) << name;
        ++iconCount;
    }
    EXPECT_EQ (iconCount, 7);
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
