#include "app/window/filedialogs.h"

#include <QDir>
#include <QFileInfo>

TFileDialogs::TFileDialogs(QWidget* owner) : m_owner(owner) {}

QString TFileDialogs::ExecuteOpen(const QString& defaultExt, const QString& filter)
{
    m_openDialog.SetDefaultExt(defaultExt);
    m_openDialog.SetFilter(filter);
    if (!Prompter().ExecuteOpen(m_owner, m_openDialog))
        return QString();
    return Chosen(m_openDialog);
}

QString TFileDialogs::ExecuteSave(const QString& defaultExt, const QString& filter, const QString& preset)
{
    m_saveDialog.SetDefaultExt(defaultExt);
    m_saveDialog.SetFilter(filter);
    if (!preset.isEmpty())
        m_saveDialog.SetFileName(preset);
    if (!Prompter().ExecuteSave(m_owner, m_saveDialog))
        return QString();
    return Chosen(m_saveDialog);
}

QString TFileDialogs::ChooseFolder(const QString& caption)
{
    const QString start = m_lastFolder.isEmpty() ? QDir::currentPath() : m_lastFolder;
    const QString folder = Prompter().ChooseFolder(m_owner, caption, start);
    if (!folder.isEmpty())
        m_lastFolder = folder;
    return folder;
}

QString TFileDialogs::Chosen(TFileDialog& dialog)
{
    m_lastFolder = QFileInfo(dialog.FileName()).absolutePath();
    dialog.SetLastDir(m_lastFolder);
    return dialog.FileName();
}
