#pragma once

#include <QList>
#include <QTextEdit>

#include <array>

class QPlainTextEdit;

// What the description editor draws over its text, each kind apart from
// the others. Later layers paint over earlier ones.
enum class TEditorLayer { Links, Spelling, Count };

// Owns the editor's extra selections: each layer sets only its own, and the
// editor gets them all together, so one layer's redraw never wipes another.
class TEditorLayers {
public:
    explicit TEditorLayers(QPlainTextEdit& memo) : m_memo(memo) {}

    void SetLayer(TEditorLayer layer, QList<QTextEdit::ExtraSelection> selections);
    const QList<QTextEdit::ExtraSelection>& Layer(TEditorLayer layer) const
    {
        return m_layers[static_cast<size_t>(layer)];
    }

private:
    QPlainTextEdit& m_memo;
    std::array<QList<QTextEdit::ExtraSelection>, static_cast<size_t>(TEditorLayer::Count)> m_layers;
};
