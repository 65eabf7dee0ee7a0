#include "app/window/filedropimport.h"

#include "app/droptarget/dropfiletarget.h"
#include "app/view/itemtext.h"
#include "app/widgets/iconcombobox.h"
#include "app/window/application.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/subtreefocus.h"
#include "app/window/waitcursor.h"
#include "document/treelist.h"
#include "exchange/fileimport.h"

#include <QApplication>
#include <QCollator>
#include <QCollatorSortKey>
#include <QElapsedTimer>
#include <QLocale>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace {

// A box taller than the screen would hide its OK button.
constexpr size_t MaxListedFailures = 20;
constexpr qint64 ProgressUpdateMs = 100;

// Shows how far a long import is, once it has run long enough to need it,
// and takes the user's Cancel.
class TImportProgress {
    Q_DECLARE_TR_FUNCTIONS(TImportProgress)

public:
    TImportProgress(QWidget& window, int delayMs) : m_window(window), m_delayMs(delayMs) { m_clock.start(); }

    // False once the user cancelled.
    bool Done(size_t count)
    {
        if (m_dialog && m_dialog->wasCanceled())
            return false;
        const qint64 now = m_clock.elapsed();
        if (now < m_nextUpdate || (!m_dialog && now < m_delayMs))
            return true;
        if (!m_dialog)
            Show();
        m_dialog->setLabelText(tr("Importing dropped files: %1 done").arg(count));
        m_nextUpdate = now + ProgressUpdateMs;
        // Only here, behind the modal dialog, may events run: no command can
        // reach the tree while the import is under way.
        QCoreApplication::processEvents();
        return !m_dialog->wasCanceled();
    }

private:
    void Show()
    {
        m_dialog = std::make_unique<QProgressDialog>(&m_window);
        m_dialog->setObjectName(QStringLiteral("ImportProgress"));
        m_dialog->setWindowTitle(QString::fromLatin1(ApplicationTitle));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, 0);  // how many files a folder holds is not known ahead
        m_dialog->show();
        // The pointer must still be able to hit Cancel.
        QApplication::changeOverrideCursor(Qt::BusyCursor);
    }

    QWidget& m_window;
    const int m_delayMs;
    QElapsedTimer m_clock;
    qint64 m_nextUpdate = 0;
    std::unique_ptr<QProgressDialog> m_dialog;
};

// Each name's collation key is made once, not at every comparison. Names
// the collation takes for equal keep their byte order.
void SortByCollation(const QCollator& collator, std::vector<std::string>& names)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const std::string& name : names)
        keys.push_back(collator.sortKey(ItemBytesToText(name).text));
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : names[a] < names[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (size_t i : order)
        sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

// The paths of the messages as the editor shows names: through the text codec.
std::string FailureReport(const std::vector<std::string>& failures)
{
    std::string report;
    const size_t listed = std::min(failures.size(), MaxListedFailures);
    for (size_t i = 0; i < listed; ++i) {
        if (i > 0)
            report += '\n';
        report += ItemBytesToText(failures[i]).text.toStdString();
    }
    if (failures.size() > listed) {
        const int more = static_cast<int>(failures.size() - listed);
        report += '\n' + QCoreApplication::translate("TFileDropImport", "and %n more", nullptr, more).toStdString();
    }
    return report;
}

}  // namespace

TFileDropImport::TFileDropImport(TTreeList& tree, TIconComboBox& iconComboBox, TDocumentSession& session,
                                 TDescriptionPane& descriptionPane, QWidget& window,
                                 const TDropFileTarget& dropFileOnTreeList, const TDropFileTarget& dropFileOnMemo)
    : m_tree(tree), m_iconComboBox(iconComboBox), m_session(session), m_descriptionPane(descriptionPane),
      m_window(window), m_dropFileOnTreeList(dropFileOnTreeList), m_dropFileOnMemo(dropFileOnMemo)
{
    ConnectGuarded(&dropFileOnTreeList, &TDropTarget::Dropped, this, &TFileDropImport::DropFileOnTreeListDrop);
    ConnectGuarded(&dropFileOnMemo, &TDropTarget::Dropped, this, &TFileDropImport::DropFileOnMemoDrop);
}

TFileDropImport::~TFileDropImport() = default;

void TFileDropImport::DropFileOnTreeListDrop(Qt::KeyboardModifiers, QPoint, Qt::DropAction& effect)
{
    RunAfterDrop(effect, &TFileDropImport::AddFilesAsItems, m_dropFileOnTreeList.DroppedFiles());
}

void TFileDropImport::DropFileOnMemoDrop(Qt::KeyboardModifiers, QPoint, Qt::DropAction& effect)
{
    // With no item there is no description to load into: the source is told
    // that nothing was taken.
    if (m_tree.TopItemCount() == 0) {
        effect = Qt::IgnoreAction;
        return;
    }
    RunAfterDrop(effect, &TFileDropImport::LoadFileIntoDescription, m_dropFileOnMemo.DroppedFiles());
}

// The drag source waits until the drop returns; reading the files, the
// progress dialog and the error box come after that. One drop at a time.
void TFileDropImport::RunAfterDrop(Qt::DropAction& effect, TDropWork work, std::vector<std::string> files)
{
    if (m_busy) {
        effect = Qt::IgnoreAction;
        return;
    }
    m_busy = true;
    QTimer::singleShot(0, this, [this, work, files = std::move(files)] {
        RunGuarded([&] { (this->*work)(files); });
        m_busy = false;
    });
}

void TFileDropImport::AddFilesAsItems(const std::vector<std::string>& files)
{
    // The document being loaded would replace them.
    if (files.empty() || m_session.Loading())
        return;
    TFileImportOptions options;
    // Checked before anything is read: a bad picker text imports nothing.
    options.ImageIndex = m_iconComboBox.Value();
    TWaitCursor wait;

    // A folder's entries in the file manager's order: "note 9" before "note 10".
    QLocale locale;
    // Qt's C locale compares code points and ignores numeric mode, while file
    // managers sort numbers by value in every locale.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    options.SortNames = [&collator](std::vector<std::string>& names) { SortByCollation(collator, names); };
    TImportProgress progress(m_window, ProgressDelayMs);
    options.OnProgress = [&progress](size_t done) { return progress.Done(done); };

    m_session.BeginChange();
    TTreeListTextNode* root = m_subtree ? m_subtree->Root() : nullptr;
    const int firstNew = root ? root->Count() : m_tree.TopItemCount();
    TTreeList apart;
    const TFileImportResult result = ImportFiles(root ? apart : m_tree, files, options);
    if (root)
        m_tree.InsertItemsFrom(apart, root, firstNew);
    // All the drop's files and folders are one step.
    if (result.ItemsAdded > 0)
        m_session.RecordAppended(QT_TRANSLATE_NOOP("TUndoStep", "Drop Files"), firstNew, root);
    if (!result.Failures.empty())
        throw std::runtime_error(FailureReport(result.Failures));
}

void TFileDropImport::LoadFileIntoDescription(const std::vector<std::string>& files)
{
    if (files.empty() || m_tree.TopItemCount() == 0)
        return;
    TWaitCursor wait;
    m_descriptionPane.LoadDescriptionFile(files.front());
}
