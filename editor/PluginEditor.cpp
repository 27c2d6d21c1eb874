#include "PluginEditor.h"

#include "ModeClipboardText.h"
#include "processor/StatusMessages.h"
#include "processor/params/ControlTable.h"
#include "processor/params/ParamValueConverter.h"

#include <cmath>

namespace
{
using LF = LookAndFeelCustom;

using ControlTable::modes;

// The accent colour of each mode, in the order of the modes.
constexpr std::array<const juce::Colour*, QexTidewellAudioProcessorEditor::numModes> modeColours {
    &LF::blueColour, &LF::redColour, &LF::greenColour, &LF::orangeColour
};

constexpr float maximumWidth = 2400.0f;
constexpr float minimumWidth = 600.0f;
} // namespace

//==============================================================================
QexTidewellAudioProcessorEditor::DefaultPluginLookAndFeel::DefaultPluginLookAndFeel()
{
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    // The framework caches typefaces by font request and does not clear the cache when the
    // default look and feel changes; without this, texts keep the faces of the previous one.
    juce::Typeface::clearTypefaceCache();
}

QexTidewellAudioProcessorEditor::DefaultPluginLookAndFeel::~DefaultPluginLookAndFeel()
{
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    juce::Typeface::clearTypefaceCache();
}

//==============================================================================
QexTidewellAudioProcessorEditor::QexTidewellAudioProcessorEditor (QexTidewellAudioProcessor& p)
    : juce::AudioProcessorEditor (p),
      audioProcessor (p),
      navbar (p),
      presetBrowser (p),
      settingsDialog (p),
      metersPanel (p),
      chorusPanels { { ChorusPanel (p, modes[0].name), ChorusPanel (p, modes[1].name), ChorusPanel (p, modes[2].name),
                       ChorusPanel (p, modes[3].name) } },
      outputPanel (p),
      saveScaleTimer (p)
{
    audioProcessor.addActionListener (this);

    contentComponent.setBounds (0, 0, baseWidth, baseHeight);
    addAndMakeVisible (contentComponent);

    contentComponent.addAndMakeVisible (navbar);
    contentComponent.addAndMakeVisible (presetBrowser);
    presetBrowser.setComponentID ("presetBrowser");

    for (size_t k = 0; k < modes.size(); ++k)
    {
        auto& tab = modeTabs[k];
        tab = std::make_unique<juce::TextButton>();
        tab->addListener (this);
        tab->addMouseListener (this, false);
        tabLookAndFeels[k].tabColour = *modeColours[k];
        tab->setLookAndFeel (&tabLookAndFeels[k]);
        tab->setButtonText (modes[k].tabText);
        contentComponent.addAndMakeVisible (*tab);
    }

    contentComponent.addAndMakeVisible (metersPanel);

    // The panels are built before they get their bounds, so that their layout finds every control.
    for (size_t k = 0; k < modes.size(); ++k)
        chorusPanels[k].prepareUI (*modeColours[k]);

    for (auto& panel : chorusPanels)
        contentComponent.addChildComponent (panel);

    outputPanel.prepareUI (LF::blueColour);
    contentComponent.addAndMakeVisible (outputPanel);

    contentComponent.addChildComponent (settingsDialog);

    showActivePanel();
    setScale();

    // Resizing is switched on once the constructor has returned and the editor has its size.
    startTimer (0);
}

QexTidewellAudioProcessorEditor::~QexTidewellAudioProcessorEditor()
{
    audioProcessor.removeActionListener (this);

    for (auto& tab : modeTabs)
        tab->setLookAndFeel (nullptr);

    // Open menus hold the default look and feel; the last editor closes them before it goes.
    if (sharedLookAndFeel.getReferenceCount() == 1)
        juce::PopupMenu::dismissAllActiveMenus();
}

//==============================================================================
void QexTidewellAudioProcessorEditor::paint (juce::Graphics& g) { g.fillAll (LF::bgColour); }

void QexTidewellAudioProcessorEditor::resized()
{
    const auto tabWidth = (baseWidth - 157) / 4;

    navbar.setBounds (0, 0, baseWidth, 48);
    presetBrowser.setBounds (243, 9, 306, 30);
    settingsDialog.setBounds (0, 0, baseWidth, baseHeight);

    for (int k = 0; k < numModes; ++k)
    {
        // One-unit gaps between the tabs; the last is a unit narrower to leave the column
        // before the meters uncovered.
        const auto width = k == numModes - 1 ? tabWidth - 1 : tabWidth;
        modeTabs[(size_t) k]->setBounds (k * (tabWidth + 1), 49, width, 37);
    }

    metersPanel.setBounds (baseWidth - 156, 49, 156, baseHeight - 49);

    for (auto& panel : chorusPanels)
        panel.setBounds (0, 86, baseWidth - 157, 250);

    outputPanel.setBounds (baseWidth - 257, 86, 100, 250);

    // A window without width has no scale; the content keeps its last one.
    if (getWidth() <= 0)
        return;

    currentScale = (float) getWidth() / (float) baseWidth;
    contentComponent.setTransform (juce::AffineTransform::scale (currentScale));

    if (resizeReady)
        saveScaleTimer.saveAfterDelay (currentScale);
}

//==============================================================================
void QexTidewellAudioProcessorEditor::showPanel (juce::String modeName)
{
    for (size_t k = 0; k < modes.size(); ++k)
    {
        const auto shown = modeName == modes[k].name;

        modeTabs[k]->setToggleState (shown, juce::dontSendNotification);
        chorusPanels[k].setVisible (shown);

        if (shown)
            outputPanel.prepareUI (*modeColours[k]);
    }
}

void QexTidewellAudioProcessorEditor::showActivePanel()
{
    const auto* mode = audioProcessor.parameters.getRawParameterValue (ControlTable::modeSelectorId());
    const auto value = mode != nullptr ? mode->load() : 0.0f;
    showPanel (modes[ControlTable::modeSelectedBy (value)].name);
}

void QexTidewellAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    for (size_t k = 0; k < modes.size(); ++k)
    {
        if (button != modeTabs[k].get())
            continue;

        showPanel (modes[k].name);

        if (auto* mode = audioProcessor.parameters.getParameter (ControlTable::modeSelectorId()))
            mode->setValueNotifyingHost (mode->convertTo0to1 ((float) k));

        return;
    }
}

void QexTidewellAudioProcessorEditor::mouseDown (const juce::MouseEvent& e)
{
    if (! juce::ModifierKeys::currentModifiers.isRightButtonDown())
        return;

    for (size_t k = 0; k < modes.size(); ++k)
    {
        if (e.eventComponent == modeTabs[k].get())
        {
            showPanel (modes[k].name);
            showCopyPasteMenu (modes[k].name);
            return;
        }
    }
}

void QexTidewellAudioProcessorEditor::actionListenerCallback (const juce::String& message)
{
    if (message == StatusMessages::stateInformationSet || message == StatusMessages::presetLoaded)
        showActivePanel();
    else if (message == StatusMessages::settingsLoaded)
        setScale();
}

//==============================================================================
void QexTidewellAudioProcessorEditor::setScale()
{
    const auto stored = audioProcessor.settings.value (Settings::scale);

    if (! stored.isVoid())
    {
        // NaN and infinity keep the current scale. Text that holds no number reads as 0: that,
        // and a scale below it, would give no window, so the editor takes the smallest size
        // the resize limits allow, as the limits would once they apply; a scale too large to
        // be a window size is taken down to the largest.
        const auto scale = ParamValueConverter::readNumber (stored.toString());
        if (scale.has_value() && std::isfinite (*scale))
            currentScale = *scale > 0.0 ? (float) juce::jmin (*scale, (double) (maximumWidth / (float) baseWidth))
                                        : minimumWidth / (float) baseWidth;
    }

    const juce::Rectangle<int> bounds (getX(), getY(), (int) ((float) baseWidth * currentScale),
                                       (int) ((float) baseHeight * currentScale));

    if (resizeReady)
        setBoundsConstrained (bounds);
    else
        setBounds (bounds);
}

void QexTidewellAudioProcessorEditor::timerCallback()
{
    stopTimer();

    const auto aspect = (double) baseWidth / (double) baseHeight;

    setResizable (true, true);
    setResizeLimits ((int) minimumWidth, (int) (minimumWidth / aspect), (int) maximumWidth,
                     (int) (maximumWidth / aspect));
    getConstrainer()->setFixedAspectRatio (aspect);

    resizeReady = true;
}

//==============================================================================
void QexTidewellAudioProcessorEditor::showCopyPasteMenu (juce::String modeName)
{
    // The actions check that the editor still exists, since they run after it has returned.
    const auto editor = juce::Component::SafePointer<QexTidewellAudioProcessorEditor> (this);

    copyPasteMenu.clear();
    copyPasteMenu.addItem ("Copy",
                           [editor, modeName]
                           {
                               if (editor != nullptr)
                                   juce::SystemClipboard::copyTextToClipboard (editor->copyMode (modeName));
                           });
    copyPasteMenu.addItem ("Paste",
                           [editor, modeName]
                           {
                               if (editor != nullptr)
                                   editor->pasteMode (modeName);
                           });
    copyPasteMenu.addItem ("Duplicate to all modes",
                           [editor, modeName]
                           {
                               if (editor != nullptr)
                                   editor->duplicateToAllModes (modeName);
                           });
    copyPasteMenu.addSeparator();

    // Opens at the mouse; attached to the editor, so that it closes when the editor does.
    const auto mouse = juce::Desktop::getMousePosition();
    copyPasteMenu.showMenuAsync (
        juce::PopupMenu::Options().withTargetComponent (this).withTargetScreenArea ({ mouse.x, mouse.y, 1, 1 }));
}

juce::String QexTidewellAudioProcessorEditor::copyMode (juce::String modeName)
{
    return ModeClipboardText::copy (audioProcessor.parameters, modeName);
}

void QexTidewellAudioProcessorEditor::pasteMode (juce::String modeName)
{
    // On X11 the framework reads at most 100,000 32-bit units of another program's clipboard
    // and does not take a longer text in parts: it hands on the first 400,000 bytes, with nothing
    // to say that more was there. UTF-8 text keeps those bytes as they came; Latin-1 text becomes
    // as many characters, which take at least as many bytes. A cut value would be applied as
    // another number, so text that reaches the limit is refused.
    constexpr size_t clipboardReadLimitBytes = 100000 * 4;

    const auto text = juce::SystemClipboard::getTextFromClipboard();
    const auto bytes = text.getCharPointer().sizeInBytes() - 1;

    if (bytes < clipboardReadLimitBytes)
        pasteModeText (modeName, text);
}

void QexTidewellAudioProcessorEditor::pasteModeText (const juce::String& modeName, const juce::String& text)
{
    ModeClipboardText::paste (audioProcessor.parameters, modeName, text);
}

void QexTidewellAudioProcessorEditor::duplicateToAllModes (juce::String modeName)
{
    const auto text = copyMode (modeName);
    juce::SystemClipboard::copyTextToClipboard (text);

    // Applied from the copied text rather than read back, so a clipboard that another
    // program takes over meanwhile cannot put foreign text into the other modes.
    for (const auto& mode : modes)
        if (modeName != mode.name)
            pasteModeText (mode.name, text);
}
