#pragma once

// The editor's own choices beyond the window's stored properties: whether it
// starts with the last document, whether it saves by itself and how soon
// after a change, and whether printed headings are numbered. They live in a
// section of their own; values out of range read as the nearest allowed one.
struct TEditorOptions {
    static constexpr const char Section[] = "Options";
    static constexpr int MinAutoSaveSeconds = 5;
    static constexpr int MaxAutoSaveSeconds = 600;

    bool ReopenLast = false;
    bool AutoSave = false;
    int AutoSaveSeconds = 30;
    bool NumberHeadings = false;

    static TEditorOptions Read();
    // Throws ESettingsError when the settings cannot be written.
    void Write() const;
};
