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
        auto* p = dynamic_cast<juce::AudioParameterFloat*> (list[i]);
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->getParameterID(), expected[i][0]);
        EXPECT_EQ (p->getName (100), expected[i][1]);
        EXPECT_EQ (p->getLabel(), juce::String());
        EXPECT_TRUE (p->isAutomatable());
    }
}
