#pragma once

#include <QPlainTextEdit>
#include <functional>

// The description editor: a plain text editor whose copies (Copy, Cut, a
// drag, the selection) carry the secret mark while `secret` says so, that is
// while the document is protected.
class TDescriptionEdit : public QPlainTextEdit {
public:
    explicit TDescriptionEdit(std::function<bool()> secret);

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    std::function<bool()> m_secret;
};
