#include "app/window/printcommands.h"

#include "app/print/atomicfiledevice.h"
#include "app/print/treeprinter.h"
#include "app/view/itemtext.h"
#include "app/view/treelistview.h"
#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "app/window/filedialogs.h"
#include "app/window/prompter.h"
#include "document/treelist.h"
#include "settings/editoroptions.h"

#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <stdexcept>

namespace {
// Each slice leaves the window to its events well within a tenth of a second.
constexpr int SliceMs = 40;
}  // namespace

TPrintCommands::TPrintCommands(TTreeList& tree, TTreeListView& treeView, TFileDialogs& fileDialogs,
                               const QWidget& memo, const TDocumentSession& session)
    : m_tree(tree), m_treeView(treeView), m_fileDialogs(fileDialogs), m_memo(memo), m_session(session)
{
}

QString TPrintCommands::Title() const
{
    return m_session.FileName().isEmpty() ? tr("Untitled") : TDocumentSession::FileNamePart(m_session.FileName());
}

bool TPrintCommands::ChooseScope(const TTreeListTextNode*& root)
{
    // What is typed belongs on paper, as in the exports.
    m_treeView.FinishNameEdit();
    m_tree.CommitEdits();
    root = nullptr;
    const TTreeListTextNode* focused = m_tree.FocusedItem();
    if (!focused || (!focused->Parent() && m_tree.TopItemCount() == 1))
        return true;
    const QString name = ItemBytesToText(focused->GetText(TreeListColumnName)).text;
    const auto answer = Prompter().Ask(
        m_treeView.window(), QMessageBox::Question, QString::fromLatin1(ApplicationTitle),
        tr("Only \"%1\" with its sub-items? No takes the whole tree.").arg(name),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes)
        root = focused;
    return true;
}

bool TPrintCommands::Paint(QPagedPaintDevice& device, const TTreeListTextNode* root)
{
    TTreePrinter printer(m_tree, root, {Title(), m_memo.font(), TEditorOptions::Read().NumberHeadings});
    if (!printer.Begin(device))
        throw std::runtime_error(tr("The printer could not be started.").toStdString());
    QProgressDialog progress(tr("Laying out the pages..."), tr("Cancel"), 0, printer.ItemCount(),
                             m_treeView.window());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    while (!printer.Step(SliceMs)) {
        progress.setValue(printer.ItemsDone());
        QCoreApplication::processEvents();
        if (progress.wasCanceled()) {
            printer.End();
            return false;
        }
    }
    return true;
}

bool TPrintCommands::WritePdf(const QString& path, const TTreeListTextNode* root)
{
    TAtomicFileDevice file(path.toStdString());
    bool done = false;
    {
        QPdfWriter writer(&file);
        TTreePrinter::PreparePdf(writer, Title());
        done = Paint(writer, root);
    }
    // A cancelled PDF is not wanted: the temporary goes, the old file stays.
    if (done)
        file.Commit();
    return done;
}

void TPrintCommands::ExportPdf()
{
    const TTreeListTextNode* root = nullptr;
    if (!ChooseScope(root))
        return;
    const QString path = m_fileDialogs.ExecuteSave(QStringLiteral("pdf"), tr("PDF Files (*.pdf)|*.pdf"));
    if (!path.isEmpty())
        WritePdf(path, root);
}

void TPrintCommands::Print()
{
    PrintOnPaper(false);
}

void TPrintCommands::PrintPreview()
{
    PrintOnPaper(true);
}

void TPrintCommands::PrintOnPaper(bool preview)
{
    const TTreeListTextNode* root = nullptr;
    if (!ChooseScope(root))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Title());
    if (preview) {
        QPrintPreviewDialog dialog(&printer, m_treeView.window());
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                Guarded([this, root](QPrinter* target) { Paint(*target, root); }));
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, m_treeView.window());
    if (dialog.exec() == QDialog::Accepted)
        Paint(printer, root);
}
