#include "PhaseMeter.h"

#include "lookandfeel/LookAndFeelCustom.h"

namespace
{
int signOf (double sample) { return sample > 0.0 ? 1 : (sample < 0.0 ? -1 : 0); }
} // namespace

PhaseMeter::PhaseMeter() { setOpaque (true); }

PhaseMeter::~PhaseMeter() = default;

void PhaseMeter::updateCorrelation()
{
    const auto n = juce::jmin ((size_t) juce::jmax (0, maxPoints), points.size());
    int sum = 0;

    for (size_t i = 0; i < n; ++i)
        sum += signOf (points[i].first) * signOf (points[i].second);

    correlation = n > 0 ? (float) sum / (float) n : 0.0f;
}

void PhaseMeter::resized() {}

void PhaseMeter::paint (juce::Graphics& g)
{
    const auto w = getWidth();
    const auto half = (float) w * 0.5f;

    g.fillAll (LookAndFeelCustom::darkGrayColour);

    g.setColour (juce::Colour (0xff5c5f64));
    g.fillRect (0, 0, w, 1);

    // Eased once per paint, so the bar glides between the timer's readings.
    smoothedCorrelation += (correlation - smoothedCorrelation) * 0.125f;
    const auto pos = half + smoothedCorrelation * half;

    g.setColour (LookAndFeelCustom::offWhiteBrightColour);
    g.fillRect (juce::Rectangle<float> (juce::jmin (pos, half), 0.0f, std::abs (pos - half), 1.0f));

    const auto font = LookAndFeelCustom::getProximaNovaCondSemibold();
    g.setFont (font.withHeight (12.0f));
    g.drawText ("PHASE", 0, 6, w, 20, juce::Justification::centred, false);

    g.setColour (LookAndFeelCustom::midGrayColour);
    g.setFont (font.withHeight (11.0f));
    g.drawText ("-1", 0, 6, 20, 20, juce::Justification::left, false);
    g.drawText ("+1", w - 20, 6, 20, 20, juce::Justification::right, false);

    acceptData = true;
}
