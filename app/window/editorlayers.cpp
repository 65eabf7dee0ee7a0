#include "app/window/editorlayers.h"

#include <QPlainTextEdit>

void TEditorLayers::SetLayer(TEditorLayer layer, QList<QTextEdit::ExtraSelection> selections)
{
    m_layers[static_cast<size_t>(layer)] = std::move(selections);
    QList<QTextEdit::ExtraSelection> all;
    for (const QList<QTextEdit::ExtraSelection>& each : m_layers)
        all += each;
    m_memo.setExtraSelections(all);
}
