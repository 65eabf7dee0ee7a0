#include "tests/apptestkit.h"

#include "app/window/commandtable.h"
#include "exchange/htmlexport.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#include <map>
#include <optional>
#include <set>

namespace {
void BuildTools(TTreeList& tree)
{
    TTreeListTextNode* tools = tree.AddItem();
    tools->SetText(0, "Tools");
    tools->SetText(1, "hammer\r\nsaw");
    TTreeListTextNode* misc = tools->AddChild();
    misc->SetText(0, "Misc");
}
}  // namespace

class ExportTest : public PartsTest {
protected:
    void SetUp() override
    {
        PartsTest::SetUp();
        Start();
    }
    TExportCommands& Exports() { return m_parts->exports; }
};

struct TSingleExport {
    const char* name;
    void (TExportCommands::*command)();
    std::string expected;
};

class SingleFileExport : public ExportTest, public ::testing::WithParamInterface<TSingleExport> {};

TEST_P(SingleFileExport, WritesTheWholeTreeAndLeavesItExpanded)
{
    BuildTools(Tree());
    ASSERT_FALSE(Tree().TopItem(0)->Expanded());
    m_prompter->files = {Path("out.txt")};
    (Exports().*GetParam().command)();
    EXPECT_EQ(ReadBytes(Path("out.txt")), GetParam().expected);
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:txt:")});
    EXPECT_TRUE(Tree().TopItem(0)->Expanded());
    EXPECT_FALSE(Modified());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleFileExport,
    ::testing::Values(TSingleExport{"text", &TExportCommands::actFileExportTxtExecute,
                                    "Tools\r\n=====\r\nhammer\r\nsaw\r\n\r\n\r\n\r\n\r\n\r\n"
                                    "Misc\r\n====\r\n\r\n\r\n\r\n\r\n\r\n\r\n"},
                      TSingleExport{"ini", &TExportCommands::actFileExportIniExecute, "[Tools]\r\nhammer\r\nsaw\r\n\r\n[Misc]\r\n\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, AFailedExportShowsTheErrorAndRestoresTheCursor)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    m_prompter->files = {Path("missing/out.txt")};
    Run(*window, TActionId::actFileExportTxt);
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Invalid filename: %1.").arg(Path("missing/out.txt"))});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, ANameStillBeingTypedIsExported)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    window->TreeList().TopItem(0)->SetFocused();
    StartTypingName(*window, QStringLiteral("Kit"));
    m_prompter->files = {Path("out.ini")};
    Run(*window, TActionId::actFileExportIni);
    EXPECT_EQ(ReadBytes(Path("out.ini")).substr(0, 7), "[Kit]\r\n");
}

TEST_F(ExportTest, MultipleFilesGoToTheChosenFolderStartingAtTheLastFolderUsed)
{
    WriteBytes(Path("doc.trd"), WorkedExampleBytes());
    m_prompter->files = {Path("doc.trd")};
    m_parts->session.NewOpenSaveSaveasClose(12);

    // Cancelling the folder dialog writes nothing.
    m_prompter->folders = {QString()};
    Exports().actFileExportMultiExecute();
    EXPECT_EQ(m_prompter->lastFolderStart, m_dir.path());
    EXPECT_FALSE(QFile::exists(Path("A.txt")));

    QDir(m_dir.path()).mkdir(QStringLiteral("out"));
    m_prompter->folders = {Path("out")};
    Exports().actFileExportMultiExecute();
    EXPECT_EQ(ReadBytes(Path("out/A.txt")), "x\r\n");
    EXPECT_EQ(ReadBytes(Path("out/B.txt")), "\r\n");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, TheStructuredExportsWriteWhatTheLibraryWritesWithoutExpanding)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    const struct {
        TActionId id;
        const char* file;
        void (*writer)(const TTreeList&, const std::string&);
    } exports[] = {{TActionId::actFileExportOpml, "out.opml", &ExportOpml},
                   {TActionId::actFileExportMarkdown, "out.md", &ExportMarkdown},
                   {TActionId::actFileExportHtml, "out.html", &ExportHtml}};
    for (const auto& e : exports) {
        m_prompter->files = {Path(QString::fromLatin1(e.file))};
        Run(*window, e.id);
        const std::string written = ReadBytes(Path(QString::fromLatin1(e.file)));
        e.writer(window->TreeList(), Path(QString::fromLatin1(e.file)).toStdString());
        EXPECT_EQ(written, ReadBytes(Path(QString::fromLatin1(e.file)))) << e.file;
    }
    EXPECT_FALSE(window->TreeList().TopItem(0)->Expanded());
    EXPECT_TRUE(m_prompter->errors.isEmpty());
    window->TreeList().ClearItems();
    window->Commands().UpdateActions();
    for (const auto& e : exports)
        EXPECT_FALSE(Action(*window, e.id)->isEnabled()) << e.file;
}

// What an HTML parser makes of a page: its links as "text -> href", the ids
// of its elements, how many elements of a name it holds, and its errors
// other than the tags HTML 4 does not know (details, summary).
struct TParsedPage {
    QStringList links;
    std::set<std::string> ids;
    std::map<std::string, int> elements;
    QStringList errors;
};

void CollectErrors(void* page, xmlErrorPtr error)
{
    const QString message = QString::fromUtf8(error->message).trimmed();
    if (!message.startsWith(QStringLiteral("Tag ")) || !message.endsWith(QStringLiteral(" invalid")))
        static_cast<TParsedPage*>(page)->errors << message;
}

void Walk(xmlNodePtr node, TParsedPage& page)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        const std::string name = reinterpret_cast<const char*>(node->name);
        ++page.elements[name];
        auto attribute = [node](const char* key) {
            xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(key));
            const std::optional<std::string> text =
                value ? std::optional<std::string>(reinterpret_cast<const char*>(value)) : std::nullopt;
            xmlFree(value);
            return text;
        };
        if (const auto id = attribute("id"))
            page.ids.insert(*id);
        if (name == "a") {
            xmlChar* text = xmlNodeGetContent(node);
            page.links << QString::fromUtf8(reinterpret_cast<const char*>(text)) + QStringLiteral(" -> ") +
                              QString::fromStdString(attribute("href").value_or("(none)"));
            xmlFree(text);
        }
        Walk(node->children, page);
    }
}

TParsedPage ParseHtml(const std::string& bytes)
{
    TParsedPage page;
    xmlSetStructuredErrorFunc(&page, &CollectErrors);
    htmlDocPtr document = htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8",
                                         HTML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!document) {
        page.errors << QStringLiteral("no document");
        return page;
    }
    Walk(xmlDocGetRootElement(document), page);
    xmlFreeDoc(document);
    return page;
}

struct THtmlLinkCase {
    const char* description;  // of the top item, whose child is "Child"
    QStringList links;
};

class HtmlLinks : public ExportTest, public ::testing::WithParamInterface<THtmlLinkCase> {};

// A parser reads the links a browser would follow, and every in-page link
// names an element of the page.
TEST_P(HtmlLinks, ThePageLinksAddressesAndItemsAsAParserReadsThem)
{
    TTreeListTextNode* top = Tree().AddItem();
    top->SetText(0, "Top");
    top->SetText(1, GetParam().description);
    top->AddChild()->SetText(0, "Child");
    ExportHtml(Tree(), Path("out.html").toStdString());
    const TParsedPage page = ParseHtml(ReadBytes(Path("out.html")));
    EXPECT_EQ(page.errors, QStringList{});
    EXPECT_EQ(page.links, GetParam().links);
    for (const QString& link : page.links) {
        const QString href = link.section(QStringLiteral(" -> "), 1);
        if (href.startsWith(QLatin1Char('#'))) {
            EXPECT_EQ(page.ids.count(href.mid(1).toStdString()), 1u) << href.toStdString();
        }
    }
    EXPECT_EQ(page.elements.count("script"), 0u);
    EXPECT_EQ(page.elements.count("b"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Export, HtmlLinks,
    ::testing::Values(
        THtmlLinkCase{"[[Child]], [[Nope]] and [[Top/Child]]", {"[[Child]] -> #item-1", "[[Top/Child]] -> #item-1"}},
        THtmlLinkCase{"[[Top]] above", {"[[Top]] -> #item-1"}},
        THtmlLinkCase{"https://x.org/?a=1&b=\"2\" ftp://f/x mailto:me@x.org FILE:/x",
                      {"https://x.org/?a=1&b= -> https://x.org/?a=1&b=", "mailto:me@x.org -> mailto:me@x.org"}},
        THtmlLinkCase{"http://x.org/<b>bold</b>'x <script>alert(1)</script> javascript:alert(1)",
                      {"http://x.org/ -> http://x.org/"}},
        THtmlLinkCase{"http://x.org/a'b\"c [[Ch&ild]]", {"http://x.org/a'b -> http://x.org/a'b"}}));

TEST_F(ExportTest, MarkdownKeepsItemLinksAsWritten)
{
    TTreeListTextNode* top = Tree().AddItem();
    top->SetText(0, "Top");
    top->SetText(1, "[[Child]], [[Nope]] and [[a\\/b]]");
    top->AddChild()->SetText(0, "Child");
    // Markdown keeps item links as written, for the note tools that read them.
    ExportMarkdown(Tree(), Path("out.md").toStdString());
    EXPECT_NE(ReadBytes(Path("out.md")).find("[[Child]], [[Nope]] and [[a\\/b]]"), std::string::npos);
}

TEST_F(WindowTest, ImportAppendsTheFileItemsOrShowsWhereTheFileIsBroken)
{
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    BuildTools(tree);
    WriteBytes(Path(QStringLiteral("in.md")), "# One\n```\nfirst\n```\n## Two\n- Three\n");
    WriteBytes(Path(QStringLiteral("bad.opml")), "<opml><body>\n<outline text=\"x\">\n</opml>");
    m_prompter->files = {Path(QStringLiteral("bad.opml"))};
    Run(*window, TActionId::actFileImport);
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Cannot import %1: line 3, column 3: mismatched tag.")
                                                  .arg(Path(QStringLiteral("bad.opml")))});
    EXPECT_EQ(tree.TopItemCount(), 1);
    EXPECT_FALSE(window->Session().Modified());

    m_prompter->files = {Path(QStringLiteral("in.md"))};
    Run(*window, TActionId::actFileImport);
    ASSERT_EQ(tree.TopItemCount(), 2);
    const TTreeListTextNode* one = tree.TopItem(1);
    EXPECT_EQ(one->GetText(0), "One");
    EXPECT_EQ(one->GetText(1), "first");
    ASSERT_EQ(one->Count(), 1);
    EXPECT_EQ(one->Child(0)->GetText(0), "Two");
    ASSERT_EQ(one->Child(0)->Count(), 1);
    EXPECT_EQ(one->Child(0)->Child(0)->GetText(0), "Three");
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(m_prompter->dialogs.last(), QStringLiteral("open:opml"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
