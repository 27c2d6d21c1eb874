#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <utility>
#include <vector>

/** Shows how far the left and right output agree in sign, from -1 (always opposite) to +1
    (always the same), as a bar from the centre of a track. */
class PhaseMeter : public juce::Component
{
public:
    PhaseMeter();
    ~PhaseMeter() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    /** Sets correlation from the first maxPoints of points: the mean over the pairs of +1 where
        both samples have the same sign, -1 where they differ and 0 where either is 0 or not a
        number. No pairs give 0. */
    void updateCorrelation();

    /** True once the last taken pairs have been painted; new pairs are taken only then. */
    bool acceptData = true;
    std::vector<std::pair<double, double>> points;
    int maxPoints = 1000;
    float correlation = 1.0f;
    float smoothedCorrelation = 1.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhaseMeter)
};
