#pragma once

#include "support/TestSupport.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

// Drawing is checked on images from the software renderer; each is also saved as a PNG under
// lookandfeel in the test output folder (testOutputFolder()) for people to look at.
namespace render
{
template <typename Paint>
juce::Image draw (const juce::String& name, int width, int height, Paint&& paint)
{
    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    {
        juce::Graphics g (image);
        paint (g);
    }

    saveTestImage (image, "lookandfeel", name);
    return image;
}

/** Paints a component as its parent would, with its own alpha applied. */
inline juce::Image component (const juce::String& name, juce::Component& c)
{
    return draw (name, c.getWidth(), c.getHeight(), [&c] (juce::Graphics& g) { c.paintEntireComponent (g, false); });
}

/** Compares colours without their alpha, within a tolerance per channel. */
inline testing::AssertionResult sameColour (juce::Colour actual, juce::Colour expected, int tolerance = 3)
{
    auto close = [tolerance] (juce::uint8 a, juce::uint8 b) { return std::abs ((int) a - (int) b) <= tolerance; };

    if (actual.getAlpha() > 0 && close (actual.getRed(), expected.getRed())
        && close (actual.getGreen(), expected.getGreen()) && close (actual.getBlue(), expected.getBlue()))
        return testing::AssertionSuccess();

    return testing::AssertionFailure() << actual.toDisplayString (true) << " is not "
                                       << expected.toDisplayString (false);
}

inline testing::AssertionResult colourAt (const juce::Image& image, int x, int y, juce::Colour expected,
                                          int tolerance = 3)
{
    return sameColour (image.getPixelAt (x, y), expected, tolerance) << " at (" << x << ", " << y << ")";
}

inline int alphaAt (const juce::Image& image, int x, int y) { return image.getPixelAt (x, y).getAlpha(); }

template <typename Predicate>
juce::Rectangle<int> boundsWhere (const juce::Image& image, Predicate&& isMarked)
{
    juce::Rectangle<int> bounds;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (isMarked (x, y))
                bounds = bounds.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : bounds.getUnion ({ x, y, 1, 1 });

    return bounds;
}

inline juce::Rectangle<int> inkBounds (const juce::Image& image, int minAlpha = 0)
{
    return boundsWhere (image, [&] (int x, int y) { return alphaAt (image, x, y) > minAlpha; });
}

inline juce::Rectangle<int> differenceBounds (const juce::Image& a, const juce::Image& b)
{
    return boundsWhere (a, [&] (int x, int y) { return a.getPixelAt (x, y) != b.getPixelAt (x, y); });
}

inline bool samePixels (const juce::Image& a, const juce::Image& b)
{
    return a.getBounds() == b.getBounds() && differenceBounds (a, b).isEmpty();
}

/** The most opaque pixel: for text drawn on a transparent image, its colour is the text colour. */
inline juce::Colour strongestPixel (const juce::Image& image)
{
    juce::Colour strongest;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (alphaAt (image, x, y) > strongest.getAlpha())
                strongest = image.getPixelAt (x, y);

    return strongest;
}
} // namespace render
