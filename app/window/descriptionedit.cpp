#include "app/window/descriptionedit.h"

#include "app/window/secretclipboard.h"

#include <QMimeData>

TDescriptionEdit::TDescriptionEdit(std::function<bool()> secret) : m_secret(std::move(secret)) {}

QMimeData* TDescriptionEdit::createMimeDataFromSelection() const
{
    QMimeData* data = QPlainTextEdit::createMimeDataFromSelection();
    if (data && m_secret && m_secret())
        MarkSecret(*data);
    return data;
}
