#pragma once

#include "PanelTestSupport.h"
#include "editor/PluginEditor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <functional>
#include <memory>

/** Runs the editor's timers on the spot, so that no test waits on the clock or races it. */
struct EditorTestAccess
{
    using Editor = QexTidewellAudioProcessorEditor;

    /** What the editor does once its constructor has returned: switches resizing on. */
    static void finishOpening (Editor& e) { e.timerCallback(); }

    /** The delay of the scale save now waiting; 0 when none waits. */
    static int pendingSaveDelay (Editor& e)
    {
        return e.saveScaleTimer.isTimerRunning() ? e.saveScaleTimer.getTimerInterval() : 0;
    }

    /** The save delay running out: saves the scale if a save waits. */
    static void endSaveDelay (Editor& e)
    {
        if (e.saveScaleTimer.isTimerRunning())
            e.saveScaleTimer.timerCallback();
    }
};

namespace editortest
{
using Editor = QexTidewellAudioProcessorEditor;
using LF = LookAndFeelCustom;

/** The first component below root, at any depth, of type T that matches. */
template <typename T>
T* findChild (
    juce::Component& root, std::function<bool (T&)> matches = [] (T&) { return true; })
{
    for (auto* child : root.getChildren())
    {
        if (auto* typed = dynamic_cast<T*> (child); typed != nullptr && matches (*typed))
            return typed;
        if (auto* found = findChild<T> (*child, matches))
            return found;
    }
    return nullptr;
}

inline juce::Button& button (juce::Component& root, const juce::String& name)
{
    return *findChild<juce::Button> (root, [&name] (juce::Button& b) { return b.getName() == name; });
}

inline void click (juce::Button& b)
{
    b.triggerClick();
    pumpMessages();
}

inline juce::Array<juce::AlertWindow*> openAlerts()
{
    juce::Array<juce::AlertWindow*> alerts;
    for (int i = 0; i < juce::Desktop::getInstance().getNumComponents(); ++i)
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Desktop::getInstance().getComponent (i)))
            alerts.add (alert);
    return alerts;
}

/** A menu's item texts: sub-menus in brackets, ticked items starred, separators as bars. */
inline juce::String describe (const juce::PopupMenu& menu)
{
    juce::StringArray parts;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        parts.add (item.isSeparator          ? "|"
                   : item.subMenu != nullptr ? item.text + "[" + describe (*item.subMenu) + "]"
                                             : item.text + (item.isTicked ? "*" : ""));
    }
    return parts.joinIntoString (" ");
}

/** Runs the action of the item with the given text, as choosing it in the open menu would. */
inline bool choose (const juce::PopupMenu& menu, const juce::String& text)
{
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
        if (it.getItem().text == text && it.getItem().action)
            return (it.getItem().action(), true);
    return false;
}

/** A press on c with the given mouse buttons, set as the framework's current modifiers. */
inline juce::MouseEvent pressOn (juce::Component& c, int buttons)
{
    juce::ModifierKeys::currentModifiers = juce::ModifierKeys (buttons);
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(),
             {},
             juce::ModifierKeys::currentModifiers,
             0.0f,
             0.0f,
             0.0f,
             0.0f,
             0.0f,
             &c,
             &c,
             now,
             {},
             now,
             1,
             false };
}

/** Waits, for a few seconds at most, until this program holds the display's focus. A menu
    that opens while its program lacks the focus closes unless the focus comes within 10 ms,
    longer than a loaded machine's display may take. */
inline void holdTheDisplaysFocus()
{
    juce::Component window;
    window.setBounds (0, 0, 10, 10);
    window.addToDesktop (0);
    window.setVisible (true);
    window.toFront (true);
    for (int i = 0; i < 250 && ! juce::Process::isForegroundProcess(); ++i)
        pumpMessages();
}

/** A processor in its own data folder, for tests that open editors on it. */
struct EditorTest : testing::Test
{
    EditorTest()
    {
        // Without a window manager the X server lacks some window-type atoms, and the framework
        // then sets window properties with no atom. Its standalone programs ignore such errors
        // and plug-ins get their host's handler; Xlib's default would end the test program.
        static const auto handlerSet = []
        {
            using Handler = int (*) (void*, void*);
            auto* set = dlsym (dlopen ("libX11.so.6", RTLD_LAZY), "XSetErrorHandler");
            return set != nullptr && reinterpret_cast<Handler (*) (Handler)> (set) ([] (void*, void*) { return 0; });
        }();
        juce::ignoreUnused (handlerSet);
    }

    // A failed test may leave menus or alerts open; the next test starts without them.
    ~EditorTest() override
    {
        juce::ModifierKeys::currentModifiers = {};
        juce::PopupMenu::dismissAllActiveMenus();
        pumpMessages();
        for (auto* alert : openAlerts())
            alert->exitModalState (0);
        pumpMessages();
    }

    ScopedDataHome home;
    QexTidewellAudioProcessor processor;

    /** An editor straight from its constructor, before its first timer. */
    std::unique_ptr<Editor> constructEditor() { return std::make_unique<Editor> (processor); }

    /** An editor as a host shows it, with the set-up that follows its constructor done. */
    std::unique_ptr<Editor> openEditor()
    {
        auto editor = constructEditor();
        EditorTestAccess::finishOpening (*editor);
        return editor;
    }

    void setParameter (const juce::String& id, float normalised)
    {
        processor.parameters.getParameter (id)->setValueNotifyingHost (normalised);
    }

    float normalised (const juce::String& id) { return processor.parameters.getParameter (id)->getValue(); }

    void setOption (const char* key, const juce::var& value) { processor.settings.setValue (key, value); }

    /** The value that the settings file holds for a key; empty while it holds none. */
    juce::String saved (const char* key)
    {
        return home.settingsFile()
            .loadFileAsString()
            .fromFirstOccurrenceOf ("<" + juce::String (key) + " value=\"", false, false)
            .upToFirstOccurrenceOf ("\"", false, false);
    }
};
} // namespace editortest
