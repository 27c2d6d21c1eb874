#include "ProcessorFixture.h"

#include "processor/params/ParamValueConverter.h"

namespace
{
class ParameterTexts : public ProcessorFixture
{
protected:
    juce::RangedAudioParameter& param (const char* id)
    {
        auto* p = processor.parameters.getParameter (id);
        EXPECT_NE (p, nullptr) << id;
        return *p;
    }

    juce::String textFor (const char* id, float value)
    {
        auto& p = param (id);
        return p.getText (p.convertTo0to1 (value), 0);
    }

    float valueFor (const char* id, const juce::String& text)
    {
        auto& p = param (id);
        return p.convertFrom0to1 (p.getValueForText (text));
    }
};
} // namespace

TEST_F (ParameterTexts, thirtyTwoAutomatableParametersKeepTheirIdsAndHostOrder)
{
    // Saved projects, presets and automation refer to these IDs; the names hosts show are checked
    // on the built bundles.
    const char* ids[] = { "paramChorusMode",        "paramSixtyRate",     "paramSixtyDepth",    "paramSixtyDelay",
                          "paramSixtyWet",          "paramSixtyHighpass", "paramSixtyTone",     "paramStudioRate",
                          "paramStudioDepth",       "paramStudioDelay",   "paramStudioWet",     "paramStudioHighpass",
                          "paramStudioTone",        "paramEnsembleRate",  "paramEnsembleDepth", "paramEnsembleVibRate",
                          "paramEnsembleVibAmount", "paramEnsembleDelay", "paramEnsembleWet",   "paramEnsembleHighpass",
                          "paramEnsembleTone",      "paramQuadRate",      "paramQuadDepth",     "paramQuadVibRate",
                          "paramQuadVibAmount",     "paramQuadDelay",     "paramQuadWet",       "paramQuadHighpass",
                          "paramQuadTone",          "paramBypassGlobal",  "paramSpread",        "paramGain" };

    const auto& list = processor.getParameters();
    ASSERT_EQ (list.size(), (int) std::size (ids));

    for (int i = 0; i < list.size(); ++i)
    {
        auto* p = dynamic_cast<juce::RangedAudioParameter*> (list[i]);
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->getParameterID(), ids[i]);
        EXPECT_EQ (p->getLabel(), juce::String()) << ids[i];
        EXPECT_TRUE (p->isAutomatable()) << ids[i];
    }
}

TEST_F (ParameterTexts, defaultsAndValuesShowWithTheirUnitAndFixedDecimals)
{
    const std::pair<const char*, const char*> defaults[] = {
        { "paramChorusMode", "Sixty" },    { "paramSixtyRate", "0.86Hz" },      { "paramSixtyDepth", "3.99ms" },
        { "paramSixtyWet", "50%" },        { "paramSixtyHighpass", "20Hz" },    { "paramSixtyTone", "4.0kHz" },
        { "paramStudioTone", "8.0kHz" },   { "paramEnsembleVibAmount", "40%" }, { "paramQuadVibRate", "5.71Hz" },
        { "paramBypassGlobal", "Active" }, { "paramSpread", "100%" },           { "paramGain", "0.0dB" },
    };
    for (const auto& [id, text] : defaults)
        EXPECT_EQ (param (id).getCurrentValueAsText(), text) << id;

    const std::tuple<const char*, float, const char*> shown[] = {
        { "paramSixtyRate", 6.0f, "6.00Hz" },      { "paramQuadDelay", 20.0f, "20.00ms" },
        { "paramSpread", 200.0f, "200%" },         { "paramQuadVibAmount", 0.29f, "29%" },
        { "paramGain", -12.0f, "-12.0dB" },        { "paramChorusMode", 1.0f, "Studio" },
        { "paramChorusMode", 2.0f, "Ensemble" },   { "paramChorusMode", 3.0f, "Quad" },
        { "paramBypassGlobal", 1.0f, "Bypassed" },
    };
    for (const auto& [id, value, text] : shown)
        EXPECT_EQ (textFor (id, value), text) << id << " " << value;

    // Frequencies switch to kilohertz only from 1000 Hz up, after the rounding to whole hertz.
    for (const auto& [hz, text] :
         { std::pair { 20.0f, "20Hz" }, std::pair { 999.4f, "999Hz" }, std::pair { 999.5f, "1000Hz" },
           std::pair { 999.99f, "1000Hz" }, std::pair { 1000.0f, "1.0kHz" }, std::pair { 20000.0f, "20.0kHz" } })
        EXPECT_EQ (ParamValueConverter::valueToTextFreq (hz, 0), text) << hz;
}

TEST_F (ParameterTexts, typedTextLosesTheUnitsLengthThenReadsAsANumberLimitedToTheRange)
{
    // The unit's length is cut whether or not the unit was typed ("50" reads as 5). Text without a
    // finite number reads as 0; infinity, and exponents past the int range, read as far as they go;
    // then the range limits the value. A mode is matched by its exact name, anything else is Quad;
    // any bypass text but "Active" bypasses.
    const std::tuple<const char*, const char*, float> reads[] = {
        { "paramSixtyRate", "5.00Hz", 5.0f },
        { "paramSixtyRate", "5", 0.1f },
        { "paramSixtyWet", "50%", 50.0f },
        { "paramSixtyWet", "50", 5.0f },
        { "paramSixtyDepth", "2.5msxx", 2.5f },
        { "paramGain", "-6.5dB", -6.5f },
        { "paramGain", "99dB", 12.0f },
        { "paramSixtyDelay", "abcms", 0.1f },
        { "paramEnsembleVibAmount", "40%", 0.4f },
        { "paramSpread", "", 0.0f },
        { "paramSixtyTone", "440", 1000.0f },
        { "paramSixtyTone", "12.3kHz", 12300.0f },
        { "paramChorusMode", "Studio", 1.0f },
        { "paramChorusMode", "Ensemble", 2.0f },
        { "paramChorusMode", "sixty", 3.0f },
        { "paramBypassGlobal", "Active", 0.0f },
        { "paramBypassGlobal", "active", 1.0f },
        { "paramBypassGlobal", "", 1.0f },
        { "paramQuadRate", "nanHz", 0.1f },
        { "paramEnsembleVibRate", "NaNHz", 0.1f },
        { "paramSixtyWet", "nan%", 0.0f },
        { "paramGain", "-nandB", 0.0f },
        { "paramQuadVibAmount", "nan%", 0.0f },
        { "paramSixtyTone", "nankHz", 1000.0f },
        { "paramQuadHighpass", "nanHz", 20.0f },
        { "paramQuadRate", "infHz", 6.0f },
        { "paramGain", "-infdB", -12.0f },
        { "paramQuadHighpass", "infkHz", 10000.0f },
        { "paramSpread", "1e99999%", 200.0f },
        { "paramQuadDelay", "-1e4294967297ms", 0.1f },
    };
    for (const auto& [id, text, value] : reads)
        EXPECT_FLOAT_EQ (valueFor (id, text), value) << id << " \"" << text << "\"";

    for (const auto* text : { "1.5kHz", "1.5khz", "1.5 KHZ" })
        EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq (text), 1500.0f) << text;
    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("440Hz"), 440.0f);
    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("440"), 4.0f);

    const char* hostile[] = { "nan",   "NaN",    "-nan",    "nanHz",           "NaN%",        "nankHz", "inf", "-inf",
                              "infHz", "-infdB", "1e99999", "-1e4294967297ms", "1e-99999kHz", "" };
    for (auto* parameter : processor.getParameters())
        for (const auto* text : hostile)
        {
            const auto normalised = parameter->getValueForText (text);
            EXPECT_TRUE (normalised >= 0.0f && normalised <= 1.0f) << parameter->getName (100) << " " << text;
        }
}

TEST_F (ParameterTexts, anExponentInAnySpellingReadsAsTheHugeOrTinyNumberItIs)
{
    // The framework's number reader decodes an over-long form as the character it spells, and
    // reads the exponent after it into an int.
    const char* spellingsOfE[] { "e", "E", "\xc1\xa5", "\xc1\x85", "\xe0\x81\xa5", "\xf0\x80\x81\xa5" };
    const char* spellingsOfMinus[] { "-", "\xc0\xad", "\xe0\x80\xad" };

    for (const auto* e : spellingsOfE)
    {
        SCOPED_TRACE (juce::String::toHexString (e, (int) std::strlen (e)));
        EXPECT_FLOAT_EQ (valueFor ("paramGain", "3444444444" + textOfBytes (e) + "111112205541844e1+r"), 12.0f);
        EXPECT_FLOAT_EQ (valueFor ("paramSpread", "1" + textOfBytes (e) + "4294967295%"), 200.0f);
        EXPECT_FLOAT_EQ (valueFor ("paramSpread", "1" + textOfBytes (e) + "00000000000000000002%"), 100.0f);

        for (const auto* minus : spellingsOfMinus)
        {
            const auto tiny = "5" + textOfBytes (e) + textOfBytes (minus);
            EXPECT_FLOAT_EQ (valueFor ("paramSpread", tiny + "99999999999%"), 0.0f);

            // The reader's int would overflow on the way, which goes unseen without a sanitizer.
            EXPECT_EQ (ParamValueConverter::withBoundedExponent (tiny + "2147483648"), tiny + "99999999");
        }
    }
}

TEST_F (ParameterTexts, highpassRangeIsLogarithmicBetweenTwentyHertzAndTenKilohertz)
{
    const auto& range = param ("paramQuadHighpass").getNormalisableRange();

    EXPECT_EQ (range.convertFrom0to1 (0.0f), 20.0f);
    EXPECT_EQ (range.convertFrom0to1 (1.0f), 10000.0f);
    EXPECT_NEAR (range.convertFrom0to1 (0.5f), 447.2136f, 0.01f);
    EXPECT_EQ (range.convertFrom0to1 (std::numeric_limits<float>::quiet_NaN()), 10000.0f);
    EXPECT_EQ (range.convertFrom0to1 (-3.0f), 20.0f);
    EXPECT_EQ (range.convertTo0to1 (5.0f), 0.0f);
    EXPECT_EQ (range.convertTo0to1 (20000.0f), 1.0f);
    EXPECT_NEAR (range.convertTo0to1 (447.2136f), 0.5f, 1.0e-6f);
    EXPECT_FLOAT_EQ (range.snapToLegalValue (123.456f), 123.456f) << "no step";
}
