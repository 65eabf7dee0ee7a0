#pragma once

#include "app/window/actionid.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <vector>

class QAction;
class QWidget;
class TImageList;
struct TCommandTargets;

// A command's handler: a method of one of the window's parts, reached
// through the table's Handler<&TClass::actNameExecute>.
using TCommandHandler = void (*)(const TCommandTargets& targets, QAction* sender);

// What a command writes outside the document's own file. The dispatcher asks
// before a command that writes a protected document's text in the clear, so
// no such command can forget the question.
enum class TCommandOutput { Document, ClearText };

// One row of a command table. Caption and hint are the English texts,
// translated in the context TextContext as the action is made.
struct TActionDef {
    static constexpr const char TextContext[] = "TActionTable";

    TActionId id;
    const char* name;
    const char* category;
    const char* caption;
    const char* hint;  // "short|long", or one text for both
    int imageIndex;
    QKeySequence shortcut;
    int tag;
    TCommandHandler handler;  // none: the action is disabled on update
    TCommandOutput output = TCommandOutput::Document;
    bool enabled = true;
};

// A list of actions sharing one image list; the command table updates and
// runs them.
class TActionList : public QObject {
    Q_OBJECT
public:
    TActionList(const QString& name, const TImageList& images, QObject* parent);

    // Makes the action of a table row; it becomes `owner`'s.
    QAction* Add(QWidget* owner, const TActionDef& def);
    const std::vector<QAction*>& Actions() const { return m_actions; }

    static QString LongHint(const QString& hint);
    static int Tag(const QAction* action);

private:
    const TImageList& m_images;
    std::vector<QAction*> m_actions;
};
