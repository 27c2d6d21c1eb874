#pragma once

#include "editor/PluginEditor.h"
#include "PanelTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <functional>
#include <memory>

namespace editortest
{
/** Lets tests open menus and alert windows on a bare X server.

    Without a window manager the server lacks some window-type atoms, and the framework then
    sets a window property with no atom. A standalone program of the framework installs an X
    error handler that ignores such errors; a plug-in gets its host's. The test program is
    neither, so Xlib's default handler would end it; this installs an ignoring one instead. */
inline void ignoreXErrors()
{
    static const bool installed = []
    {
        using ErrorHandler = int (*) (void*, void*);
        using SetErrorHandler = ErrorHandler (*) (ErrorHandler);

        auto* x11 = dlopen ("libX11.so.6", RTLD_LAZY);
        if (x11 == nullptr)
            return false;

        auto* setHandler = reinterpret_cast<SetErrorHandler> (dlsym (x11, "XSetErrorHandler"));
        if (setHandler == nullptr)
            return false;

        setHandler ([] (void*, void*) { return 0; });
        return true;
    }();

    juce::ignoreUnused (installed);
}

/** The first component below root, at any depth, of type T for which matches is true. */
template <typename T>
T* findChild (juce::Component& root, std::function<bool (T&)> matches = [] (T&) { return true; })
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

template <typename T = juce::Component> T* findNamed (juce::Component& root, const juce::String& name)
{
    return findChild<T> (root, [&name] (T& c) { return c.getName() == name; });
}

using render::sameColour;

/** Open alert windows with the given title. */
inline juce::Array<juce::AlertWindow*> openAlerts (const juce::String& title)
{
    juce::Array<juce::AlertWindow*> alerts;
    auto& desktop = juce::Desktop::getInstance();

    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (desktop.getComponent (i)))
            if (alert->getName() == title)
                alerts.add (alert);

    return alerts;
}

inline void closeAlerts()
{
    for (auto* alert : openAlerts ("WARNING"))
        alert->exitModalState (0);

    pumpMessages();
}

/** The texts of a menu's items, sub-menus in brackets, a ticked item marked with a star and a
    separator as a bar. */
inline juce::String describe (const juce::PopupMenu& menu)
{
    juce::StringArray parts;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();

        if (item.isSeparator)
            parts.add ("|");
        else if (item.subMenu != nullptr)
            parts.add (item.text + "[" + describe (*item.subMenu) + "]");
        else
            parts.add (item.text + (item.isTicked ? "*" : ""));
    }

    return parts.joinIntoString (" ");
}

/** Runs the action of the menu item with the given text, searching sub-menus too. */
inline bool chooseMenuItem (const juce::PopupMenu& menu, const juce::String& text)
{
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
    {
        if (it.getItem().text == text && it.getItem().action)
        {
            it.getItem().action();
            return true;
        }
    }

    return false;
}

/** A processor in its own data folder, for tests that open editors on it. */
struct EditorTest : testing::Test
{
    EditorTest() { ignoreXErrors(); }

    // A failed test may leave a menu or an alert open; the next test starts without them.
    ~EditorTest() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        closeAlerts();
    }

    ScopedDataHome home;
    QexTidewellAudioProcessor processor;

    std::unique_ptr<QexTidewellAudioProcessorEditor> openEditor()
    {
        return std::make_unique<QexTidewellAudioProcessorEditor> (processor);
    }

    /** Opens an editor and lets its deferred set-up (resize limits) run. */
    std::unique_ptr<QexTidewellAudioProcessorEditor> openResizableEditor()
    {
        auto editor = openEditor();
        pumpMessages();
        return editor;
    }

    void setParameter (const juce::String& id, float normalisedValue)
    {
        processor.parameters.getParameter (id)->setValueNotifyingHost (normalisedValue);
    }

    float normalised (const juce::String& id) { return processor.parameters.getParameter (id)->getValue(); }

    void setMode (int index) { setParameter ("paramChorusMode", (float) index / 3.0f); }

    void storeScale (const juce::var& value)
    {
        processor.settingsTree.getOrCreateChildWithName ("scale", nullptr).setProperty ("value", value, nullptr);
    }

    juce::var storedScale() { return processor.settingsTree.getChildWithName ("scale").getProperty ("value"); }

    /** The scale the settings file holds, or a void var when no file was written. */
    juce::var savedScale()
    {
        const auto xml = juce::parseXML (home.settingsFile());
        if (xml == nullptr)
            return {};

        if (auto* scale = xml->getChildByName ("scale"))
            return scale->getStringAttribute ("value");

        return {};
    }
};

/** A press of the given mouse button on a component, with the framework's current modifier
    state set as during a real press. */
struct ScopedMousePress
{
    ScopedMousePress (juce::ModifierKeys buttons) : previous (juce::ModifierKeys::currentModifiers)
    {
        juce::ModifierKeys::currentModifiers = buttons;
    }

    ~ScopedMousePress() { juce::ModifierKeys::currentModifiers = previous; }

    juce::MouseEvent on (juce::Component& component) const
    {
        const auto now = juce::Time::getCurrentTime();
        return { juce::Desktop::getInstance().getMainMouseSource(), {}, juce::ModifierKeys::currentModifiers,
                 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &component, &component, now, {}, now, 1, false };
    }

    juce::ModifierKeys previous;
};
} // namespace editortest
