#include "app/search/gotosearch.h"

#include "app/view/itemtext.h"

#include <QTimer>
#include <algorithm>

namespace {
bool IsAscii(std::string_view bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
}
}  // namespace

void FoldName(std::string_view bytes, std::string& out)
{
    out.resize(bytes.size());
    size_t i = 0;
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c & 0x80)
            break;
        out[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    if (i == bytes.size())
        return;
    // Outside ASCII: the letters apart from their accents, then folded case.
    const QString text = ItemBytesToText(bytes).text.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(text.size());
    for (const QChar c : text)
        if (!c.isMark())
            bare += c;
    // Qt folds case one letter to one: the sharp s would stay apart from "ss".
    out = bare.toCaseFolded().replace(QChar(0x00DF), QStringLiteral("ss")).toStdString();
}

TGoToSearch::TGoToSearch(TTreeList& tree, TGuard& guard, QObject* parent)
    : QObject(parent), m_tree(tree), m_guard(guard), m_sliceTimer(new QTimer(this)), m_restartTimer(new QTimer(this))
{
    m_sliceTimer->setInterval(0);
    m_restartTimer->setSingleShot(true);
    m_restartTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, [this] { m_guard.Run([this] { RunSlice(); }); });
    connect(m_restartTimer, &QTimer::timeout, this, [this] { m_guard.Run([this] { Start(m_text); }); });
    m_tree.AddObserver(this);
}

TGoToSearch::~TGoToSearch()
{
    m_tree.RemoveObserver(this);
}

void TGoToSearch::Start(const QString& text)
{
    m_text = text;
    m_restartTimer->stop();
    std::string folded;
    FoldName(text.toStdString(), folded);
    m_words = GoToWords(folded);
    m_top.Clear();
    m_results.clear();
    m_order = 0;
    m_cursor = m_words.empty() ? nullptr : m_tree.TopItem(0);
    if (m_cursor) {
        m_sliceTimer->start();
        RunSlice();
    } else {
        m_sliceTimer->stop();
        emit Changed();
    }
}

void TGoToSearch::RunSlice()
{
    if (!m_cursor)
        return;
    const auto end = std::chrono::steady_clock::now() + SliceTime;
    const size_t longest = m_words.front().size();
    for (int n = 0; m_cursor; m_cursor = m_tree.NextInDocument(m_cursor), ++m_order) {
        // The clock is read every 512 items: reading it costs more than a name.
        if ((++n & 511) == 0 && std::chrono::steady_clock::now() >= end)
            break;
        const std::string_view name = m_cursor->GetText(TreeListColumnName);
        // Folding keeps an ASCII name's length; others may grow ("ß" to "ss").
        if (name.size() < longest && IsAscii(name))
            continue;
        FoldName(name, m_folded);
        const int cls = GoToMatchClass(m_folded, m_words);
        if (cls < 0)
            continue;
        m_top.Count();
        const auto length = static_cast<uint32_t>(m_folded.size());
        if (m_top.Wants(cls, length))
            m_top.Offer({cls, length, m_cursor->Level(), m_order, m_cursor});
    }
    if (!m_cursor)
        m_sliceTimer->stop();
    m_results = m_top.Sorted();
    emit Changed();
}

void TGoToSearch::Finish()
{
    while (m_cursor)
        RunSlice();
}

void TGoToSearch::TreeChanged()
{
    // The list may name an item about to be freed: it goes now, and the
    // search starts again once the change is done.
    m_sliceTimer->stop();
    m_cursor = nullptr;
    m_top.Clear();
    m_results.clear();
    if (!m_words.empty())
        m_restartTimer->start();
    emit Changed();
}
