#pragma once

#include "lookandfeel/RenderHelpers.h"

#include "lookandfeel/CenteredEditableLabel.h"
#include "lookandfeel/SliderQEX.h"

// Panels are checked through their children, found by component name as the panels find them.
namespace panel
{
template <typename Type>
Type* child (juce::Component& parent, const juce::String& name)
{
    for (auto* c : parent.getChildren())
        if (auto* typed = dynamic_cast<Type*> (c); typed != nullptr && c->getName() == name)
            return typed;

    return nullptr;
}

/** Paints a component and saves the image under the test output's editor folder. Painting
    twice lets disabled knobs show the half alpha their first paint sets, as the next frame
    does on screen. */
inline juce::Image snapshot (const juce::String& name, juce::Component& c, int paints = 1)
{
    juce::Image image;
    for (int i = 0; i < paints; ++i)
        image = c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f);

    saveTestImage (image, "editor", name);
    return image;
}

/** Whether some pixels of an area have the colour: text drawn there in it shows. */
inline bool shows (const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour)
{
    int count = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            count += render::sameColour (image.getPixelAt (x, y), colour, 12) ? 1 : 0;

    return count > 4;
}

/** The colour on a knob's ring at a rotary angle (0 at twelve o'clock, clockwise). */
inline juce::Colour ringColour (const juce::Image& image, const juce::Slider& knob, float angleFromStart)
{
    const auto angle = knob.getRotaryParameters().startAngleRadians + angleFromStart;
    const auto centre = knob.getPosition().toFloat() + juce::Point<float> (25.0f, 25.0f);
    return image.getPixelAt ((int) std::floor (centre.x + 23.25f * std::sin (angle)),
                             (int) std::floor (centre.y - 23.25f * std::cos (angle)));
}
} // namespace panel
