#include "processor/ParamValueConverter.h"
#include "processor/PluginProcessor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
class ParameterTexts : public testing::Test
{
protected:
    ScopedDataHome dataHome;
    QexTidewellAudioProcessor processor;

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

TEST_F (ParameterTexts, thirtyTwoParametersInHostOrderWithTheirNames)
{
    const char* expected[][2] = {
        { "paramChorusMode", "Mode" },
        { "paramSixtyRate", "Sixty Rate" },
        { "paramSixtyDepth", "Sixty Depth" },
        { "paramSixtyDelay", "Sixty Delay" },
        { "paramSixtyWet", "Sixty Wet" },
        { "paramSixtyHighpass", "Sixty Highpass" },
        { "paramSixtyTone", "Sixty Lowpass" },
        { "paramStudioRate", "Studio Rate" },
        { "paramStudioDepth", "Studio Depth" },
        { "paramStudioDelay", "Studio Delay" },
        { "paramStudioWet", "Studio Wet" },
        { "paramStudioHighpass", "Studio Highpass" },
        { "paramStudioTone", "Studio Lowpass" },
        { "paramEnsembleRate", "Ensemble Rate" },
        { "paramEnsembleDepth", "Ensemble Depth" },
        { "paramEnsembleVibRate", "Ensemble Vibrato Rate" },
        { "paramEnsembleVibAmount", "Ensemble Vibrato Amount" },
        { "paramEnsembleDelay", "Ensemble Delay" },
        { "paramEnsembleWet", "Ensemble Wet" },
        { "paramEnsembleHighpass", "Ensemble Highpass" },
        { "paramEnsembleTone", "Ensemble Lowpass" },
        { "paramQuadRate", "Quad Rate" },
        { "paramQuadDepth", "Quad Depth" },
        { "paramQuadVibRate", "Quad Vibrato Rate" },
        { "paramQuadVibAmount", "Quad Vibrato Amount" },
        { "paramQuadDelay", "Quad Delay" },
        { "paramQuadWet", "Quad Wet" },
        { "paramQuadHighpass", "Quad Highpass" },
        { "paramQuadTone", "Quad Lowpass" },
        { "paramBypassGlobal", "Bypass" },
        { "paramSpread", "Spread" },
        { "paramGain", "Volume" },
    };

    const auto& list = processor.getParameters();
    ASSERT_EQ (list.size(), 32);

    for (int i = 0; i < 32; ++i)
    {
        auto* p = dynamic_cast<juce::RangedAudioParameter*> (list[i]);
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->getParameterID(), expected[i][0]);
        EXPECT_EQ (p->getName (100), expected[i][1]);
        EXPECT_EQ (p->getLabel(), juce::String());
        EXPECT_TRUE (p->isAutomatable());
    }
}

TEST_F (ParameterTexts, valuesShowWithTheirUnitAndFixedDecimals)
{
    EXPECT_EQ (textFor ("paramSixtyRate", 0.86f), "0.86Hz");
    EXPECT_EQ (textFor ("paramSixtyRate", 6.0f), "6.00Hz");
    EXPECT_EQ (textFor ("paramSixtyDepth", 3.99f), "3.99ms");
    EXPECT_EQ (textFor ("paramQuadDelay", 20.0f), "20.00ms");
    EXPECT_EQ (textFor ("paramSixtyWet", 50.0f), "50%");
    EXPECT_EQ (textFor ("paramSpread", 200.0f), "200%");
    EXPECT_EQ (textFor ("paramSpread", 100.0f), "100%");
    EXPECT_EQ (textFor ("paramEnsembleVibAmount", 0.4f), "40%");
    EXPECT_EQ (textFor ("paramQuadVibAmount", 0.29f), "29%");
    EXPECT_EQ (textFor ("paramGain", 0.0f), "0.0dB");
    EXPECT_EQ (textFor ("paramGain", -12.0f), "-12.0dB");
}

TEST_F (ParameterTexts, textsLoseTheirUnitLengthBeforeTheNumberIsRead)
{
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyRate", "5.00Hz"), 5.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyRate", "5"), 0.1f) << "nothing remains; 0 clamps to the range start";
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyWet", "50%"), 50.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyWet", "50"), 5.0f) << "the drop takes a digit when no unit is typed";
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyDepth", "2.5msxx"), 2.5f);
    EXPECT_FLOAT_EQ (valueFor ("paramGain", "-6.5dB"), -6.5f);
    EXPECT_FLOAT_EQ (valueFor ("paramGain", "99dB"), 12.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyDelay", "abcms"), 0.1f) << "no number reads as 0, then clamps";
    EXPECT_FLOAT_EQ (valueFor ("paramEnsembleVibAmount", "40%"), 0.4f);
    EXPECT_FLOAT_EQ (valueFor ("paramSpread", ""), 0.0f);
}

TEST_F (ParameterTexts, frequenciesSwitchToKilohertzAboveNineHundredNinetyNinePointNineNine)
{
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (20.0f, 0), "20Hz");
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (999.4f, 0), "999Hz");
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (999.5f, 0), "1000Hz");
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (999.99f, 0), "1000Hz");
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (1000.0f, 0), "1.0kHz");
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (10000.0f, 0), "10.0kHz");
    EXPECT_EQ (ParamValueConverter::valueToTextFreq (20000.0f, 0), "20.0kHz");

    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("1.5kHz"), 1500.0f);
    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("1.5khz"), 1500.0f);
    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("1.5 KHZ"), 1500.0f);
    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("440Hz"), 440.0f);
    EXPECT_FLOAT_EQ (ParamValueConverter::textToValueFreq ("440"), 4.0f);

    EXPECT_EQ (textFor ("paramSixtyTone", 4000.0f), "4.0kHz");
    EXPECT_EQ (textFor ("paramSixtyHighpass", 20.0f), "20Hz");
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyTone", "440"), 1000.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyTone", "12.3kHz"), 12300.0f);
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

TEST_F (ParameterTexts, modeAndBypassTextsAreExactNames)
{
    EXPECT_EQ (textFor ("paramChorusMode", 0.0f), "Sixty");
    EXPECT_EQ (textFor ("paramChorusMode", 1.0f), "Studio");
    EXPECT_EQ (textFor ("paramChorusMode", 2.0f), "Ensemble");
    EXPECT_EQ (textFor ("paramChorusMode", 3.0f), "Quad");

    EXPECT_FLOAT_EQ (valueFor ("paramChorusMode", "Studio"), 1.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramChorusMode", "Ensemble"), 2.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramChorusMode", "sixty"), 3.0f) << "case-sensitive: anything else is Quad";

    EXPECT_EQ (textFor ("paramBypassGlobal", 0.0f), "Active");
    EXPECT_EQ (textFor ("paramBypassGlobal", 1.0f), "Bypassed");
    EXPECT_FLOAT_EQ (valueFor ("paramBypassGlobal", "Active"), 0.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramBypassGlobal", "active"), 1.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramBypassGlobal", ""), 1.0f);
}

TEST_F (ParameterTexts, defaultsShowAsAHostFirstSeesThem)
{
    const std::pair<const char*, const char*> defaults[] = {
        { "paramChorusMode", "Sixty" },    { "paramSixtyRate", "0.86Hz" },      { "paramSixtyDepth", "3.99ms" },
        { "paramSixtyWet", "50%" },        { "paramSixtyHighpass", "20Hz" },    { "paramSixtyTone", "4.0kHz" },
        { "paramStudioTone", "8.0kHz" },   { "paramEnsembleVibAmount", "40%" }, { "paramQuadVibRate", "5.71Hz" },
        { "paramBypassGlobal", "Active" }, { "paramSpread", "100%" },           { "paramGain", "0.0dB" },
    };

    for (const auto& [id, text] : defaults)
    {
        auto& p = param (id);
        EXPECT_EQ (p.getCurrentValueAsText(), text) << id;
    }
}

TEST_F (ParameterTexts, textWithoutAFiniteNumberReadsAsNoNumberAndInfinityReachesTheRangeEnds)
{
    const char* hostile[] = { "nan",   "NaN",    "-nan",    "nanHz",           "NaN%",        "nankHz", "inf", "-inf",
                              "infHz", "-infdB", "1e99999", "-1e4294967297ms", "1e-99999kHz", "" };

    for (auto* parameter : processor.getParameters())
    {
        for (const auto* text : hostile)
        {
            const auto normalised = parameter->getValueForText (text);
            EXPECT_TRUE (normalised >= 0.0f && normalised <= 1.0f) << parameter->getName (100) << " " << text;
        }
    }

    EXPECT_FLOAT_EQ (valueFor ("paramQuadRate", "nanHz"), 0.1f) << "no number reads as 0, then clamps";
    EXPECT_FLOAT_EQ (valueFor ("paramEnsembleVibRate", "NaNHz"), 0.1f);
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyWet", "nan%"), 0.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramGain", "-nandB"), 0.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramQuadVibAmount", "nan%"), 0.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramSixtyTone", "nankHz"), 1000.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramQuadHighpass", "nanHz"), 20.0f);

    EXPECT_FLOAT_EQ (valueFor ("paramQuadRate", "infHz"), 6.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramGain", "-infdB"), -12.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramQuadHighpass", "infkHz"), 10000.0f);
    EXPECT_FLOAT_EQ (valueFor ("paramSpread", "1e99999%"), 200.0f) << "an exponent past the int range";
    EXPECT_FLOAT_EQ (valueFor ("paramQuadDelay", "-1e4294967297ms"), 0.1f);
}
