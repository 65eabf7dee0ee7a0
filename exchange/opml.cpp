#include "exchange/opml.h"

#include "document/fileio.h"
#include "document/strtoint.h"
#include "document/textcodec.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/fileimport.h"
#include "exchange/treewalk.h"
#include "exchange/xmlescape.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

const char OpmlNamespace[] = "https://example.org/vektreevieweditor/opml";

namespace {

// An attribute whose value the parser gives back character for character;
// `exact` keeps even the characters XML has no place for, as %XX. True when
// the text held such a character.
bool AppendAttribute(std::string& out, const char* name, std::string_view text, bool exact = false)
{
    out += ' ';
    out += name;
    out += "=\"";
    const bool forbidden =
        AppendXmlEscaped(out, text, exact ? TXmlEscaping::OpmlExact : TXmlEscaping::OpmlAttribute);
    out += '"';
    return forbidden;
}

// Each level indents by two spaces, up to a limit: deep trees would otherwise
// grow with the square of their depth.
void AppendIndent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(std::min(depth + 2, 32)) * 2, ' ');
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The reverse of the exact form; false for a "%" not followed by two hex digits.
bool DecodeExact(std::string_view text, std::string& out)
{
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

// The document's title: the file's name without its extension.
std::string TitleOf(const std::string& fileName)
{
    std::string name = FileNameOfPath(fileName);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// Expat reports names as "namespace URI" + separator + "local name".
constexpr char NamespaceSeparator = '\n';

// Encoding names that other readers take and expat does not, as expat names
// them; nullptr for Windows-1252, which expat lacks and is given as a table.
// The names are compared without case, "-", "_", "." and spaces.
struct TEncodingAlias {
    const char* name;
    const char* expatName;
};
constexpr TEncodingAlias EncodingAliases[] = {
    {"utf8", "UTF-8"},          {"unicode11utf8", "UTF-8"},  {"unicode20utf8", "UTF-8"},
    {"xunicode20utf8", "UTF-8"}, {"utf16", "UTF-16"},        {"utf16le", "UTF-16LE"},
    {"utf16be", "UTF-16BE"},    {"latin1", "ISO-8859-1"},    {"l1", "ISO-8859-1"},
    {"iso88591", "ISO-8859-1"}, {"iso885911987", "ISO-8859-1"}, {"isoir100", "ISO-8859-1"},
    {"cp819", "ISO-8859-1"},    {"ibm819", "ISO-8859-1"},    {"csisolatin1", "ISO-8859-1"},
    {"ascii", "US-ASCII"},      {"usascii", "US-ASCII"},     {"us", "US-ASCII"},
    {"iso646us", "US-ASCII"},   {"ansix341968", "US-ASCII"}, {"cp367", "US-ASCII"},
    {"ibm367", "US-ASCII"},     {"csascii", "US-ASCII"},     {"windows1252", nullptr},
    {"cp1252", nullptr},        {"xcp1252", nullptr},        {"mswindows1252", nullptr},
};

const TEncodingAlias* FindEncodingAlias(const char* name)
{
    std::string key;
    for (const char* c = name; *c; ++c) {
        if (*c == '-' || *c == '_' || *c == '.' || *c == ' ')
            continue;
        key += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
    }
    for (const TEncodingAlias& alias : EncodingAliases)
        if (key == alias.name)
            return &alias;
    return nullptr;
}

class TOpmlReader {
public:
    TOpmlReader(TTreeList& tree, const TImportLimits& limits) : m_builder(tree, limits.MaxDepth), m_limits(limits)
    {
        m_vekPrefix = std::string(OpmlNamespace) + NamespaceSeparator;
        CreateParser(nullptr);
    }

    void Read(TByteSource& source)
    {
        constexpr int Piece = 1 << 20;
        // The first piece, which holds the XML declaration, is kept: an
        // encoding declared by a name expat does not know is read again with
        // expat's name for it given.
        std::string head(Piece, '\0');
        head.resize(source.Read(head.data(), head.size()));
        const auto parseHead = [&] {
            return XML_Parse(m_parser.get(), head.data(), static_cast<int>(head.size()), head.empty()) ==
                   XML_STATUS_OK;
        };
        if (!parseHead()) {
            if (!m_restartAs)
                Fail(XML_GetErrorCode(m_parser.get()));
            CreateParser(m_restartAs);
            if (!parseHead())
                Fail(XML_GetErrorCode(m_parser.get()));
        }
        int64_t fed = static_cast<int64_t>(head.size());
        const bool ended = head.empty();
        head = std::string();
        while (!ended) {
            void* buffer = XML_GetBuffer(m_parser.get(), Piece);
            if (!buffer)
                Fail(XML_GetErrorCode(m_parser.get()));
            const size_t got = source.Read(static_cast<char*>(buffer), Piece);
            fed += static_cast<int64_t>(got);
            if (XML_ParseBuffer(m_parser.get(), static_cast<int>(got), got == 0) != XML_STATUS_OK)
                Fail(XML_GetErrorCode(m_parser.get()));
            // Expat keeps an unfinished tag or text in memory until it ends:
            // refuse one that grows past the limit rather than hold it all.
            if (fed - m_lastEvent > static_cast<int64_t>(m_limits.MaxTextBytes) + Piece)
                throw EImportError("", XML_GetCurrentLineNumber(m_parser.get()),
                                   static_cast<int64_t>(XML_GetCurrentColumnNumber(m_parser.get())) + 1,
                                   "a tag or text longer than " + std::to_string(m_limits.MaxTextBytes) + " bytes");
            if (got == 0)
                break;
        }
        if (!m_sawRoot)
            throw EImportError("", 1, 1, "not an OPML document");
    }

private:
    struct TParserFree {
        void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
    };
    enum class TElement { Opml, Body, Outline, Other };

    // `encoding` overrides the document's declaration when given.
    void CreateParser(const char* encoding)
    {
        m_parser.reset(XML_ParserCreateNS(encoding, NamespaceSeparator));
        if (!m_parser)
            throw std::bad_alloc();
        m_lastEvent = 0;
        XML_SetUserData(m_parser.get(), this);
        XML_SetUnknownEncodingHandler(m_parser.get(), &UnknownEncoding, this);
        XML_SetElementHandler(m_parser.get(), &StartElement, &EndElement);
        XML_SetCharacterDataHandler(m_parser.get(), &Progress<const XML_Char*, int>);
        XML_SetCommentHandler(m_parser.get(), &Progress<const XML_Char*>);
        XML_SetProcessingInstructionHandler(m_parser.get(), &Progress<const XML_Char*, const XML_Char*>);
        XML_SetDefaultHandler(m_parser.get(), &Progress<const XML_Char*, int>);
        // No document type: no entity of its own, internal or external, can
        // be declared, so none can be expanded or fetched.
        XML_SetStartDoctypeDeclHandler(m_parser.get(), &Doctype);
        XML_SetEntityDeclHandler(m_parser.get(), &EntityDecl);
        XML_SetExternalEntityRefHandler(m_parser.get(), &ExternalEntity);
        XML_SetParamEntityParsing(m_parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    }

    [[noreturn]] void Fail(XML_Error code)
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
        std::string reason = XML_ErrorString(code);
        if (code == XML_ERROR_UNKNOWN_ENCODING && !m_unknownEncoding.empty())
            reason += " \"" + m_unknownEncoding + "\"";
        throw EImportError("", XML_GetCurrentLineNumber(m_parser.get()),
                           static_cast<int64_t>(XML_GetCurrentColumnNumber(m_parser.get())) + 1, reason);
    }

    // Keeps a failure of a handler for Read to raise: nothing may unwind
    // through the parser's C frames.
    void Stop(std::exception_ptr failure)
    {
        if (!m_failure)
            m_failure = std::move(failure);
        XML_StopParser(m_parser.get(), XML_FALSE);
    }
    void Stop(const std::string& reason)
    {
        Stop(std::make_exception_ptr(EImportError("", XML_GetCurrentLineNumber(m_parser.get()),
                                                  static_cast<int64_t>(XML_GetCurrentColumnNumber(m_parser.get())) + 1,
                                                  reason)));
    }

    void Event() { m_lastEvent = XML_GetCurrentByteIndex(m_parser.get()); }

    void Start(const XML_Char* name, const XML_Char** attributes)
    {
        Event();
        const TElement parent = m_open.empty() ? TElement::Other : m_open.back();
        TElement element = TElement::Other;
        if (m_open.empty()) {
            if (std::strcmp(name, "opml") != 0)
                return Stop(std::string("not an OPML document (its root element is <") + name + ">)");
            m_sawRoot = true;
            element = TElement::Opml;
        } else if (parent == TElement::Opml && std::strcmp(name, "body") == 0) {
            element = TElement::Body;
        } else if ((parent == TElement::Body || parent == TElement::Outline) && std::strcmp(name, "outline") == 0) {
            element = TElement::Outline;
            AddOutline(attributes);
        }
        m_open.push_back(element);
    }

    void AddOutline(const XML_Char** attributes)
    {
        const int64_t line = XML_GetCurrentLineNumber(m_parser.get());
        const int64_t column = static_cast<int64_t>(XML_GetCurrentColumnNumber(m_parser.get())) + 1;
        TTreeListTextNode* item = m_builder.Add(m_depth++, line, column);
        const char* texts[2] = {nullptr, nullptr};
        const char* title = nullptr;
        const char* exact[2] = {nullptr, nullptr};
        for (const XML_Char** a = attributes; *a; a += 2) {
            const std::string_view name = a[0];
            if (name == "text")
                texts[TreeListColumnName] = a[1];
            else if (name == "_note")
                texts[TreeListColumnDesc] = a[1];
            else if (name == "title")
                title = a[1];
            else if (name.substr(0, m_vekPrefix.size()) == m_vekPrefix) {
                const std::string_view local = name.substr(m_vekPrefix.size());
                if (local == "text")
                    exact[TreeListColumnName] = a[1];
                else if (local == "note")
                    exact[TreeListColumnDesc] = a[1];
                else if (local == "icon")
                    item->SetImageIndex(Icon(a[1]));
            }
        }
        // Some outliners name an outline by its title alone.
        if (!texts[TreeListColumnName])
            texts[TreeListColumnName] = title;
        for (int text = TreeListColumnName; text <= TreeListColumnDesc; ++text) {
            if (exact[text]) {
                const std::string attribute = text == TreeListColumnName ? "vek:text" : "vek:note";
                if (!DecodeExact(exact[text], m_scratch))
                    throw EImportError("", line, column, "a \"%\" not followed by two hex digits in " + attribute);
                // The exact copy holds what `text` or `_note` would, in UTF-8.
                if (!IsValidUtf8(m_scratch))
                    throw EImportError("", line, column, attribute + " is not UTF-8 once decoded");
                item->SetText(text, m_scratch);
            } else if (texts[text]) {
                item->SetText(text, texts[text]);
            }
        }
    }

    int32_t Icon(const char* text)
    {
        try {
            return StrToInt(text);
        } catch (const EConvertError&) {
            throw EImportError("", XML_GetCurrentLineNumber(m_parser.get()),
                               static_cast<int64_t>(XML_GetCurrentColumnNumber(m_parser.get())) + 1,
                               std::string("the icon index \"") + text + "\" is not a number");
        }
    }

    void End()
    {
        Event();
        if (m_open.empty())
            return;
        if (m_open.back() == TElement::Outline)
            --m_depth;
        m_open.pop_back();
    }

    template <typename... Args> static void XMLCALL Progress(void* self, Args...)
    {
        static_cast<TOpmlReader*>(self)->Event();
    }
    static void XMLCALL StartElement(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        auto* reader = static_cast<TOpmlReader*>(self);
        try {
            reader->Start(name, attributes);
        } catch (...) {
            reader->Stop(std::current_exception());
        }
    }
    static void XMLCALL EndElement(void* self, const XML_Char*) { static_cast<TOpmlReader*>(self)->End(); }
    static void XMLCALL Doctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        static_cast<TOpmlReader*>(self)->Stop("document type declarations are not allowed");
    }
    static void XMLCALL EntityDecl(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                   const XML_Char*, const XML_Char*, const XML_Char*)
    {
        static_cast<TOpmlReader*>(self)->Stop("entity declarations are not allowed");
    }
    static int XMLCALL UnknownEncoding(void* self, const XML_Char* name, XML_Encoding* info)
    {
        auto* reader = static_cast<TOpmlReader*>(self);
        const TEncodingAlias* alias = FindEncodingAlias(name);
        if (alias && !alias->expatName) {
            for (int byte = 0; byte < 256; ++byte)
                info->map[byte] = Cp1252ToUnicode(static_cast<unsigned char>(byte));
            info->data = nullptr;
            info->convert = nullptr;
            info->release = nullptr;
            return XML_STATUS_OK;
        }
        // Expat's own encodings only through their own names: a table
        // cannot give UTF-8's characters beyond U+FFFF.
        if (alias && !reader->m_restartAs)
            reader->m_restartAs = alias->expatName;
        else
            reader->m_unknownEncoding = name;
        return XML_STATUS_ERROR;
    }
    static int XMLCALL ExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
    {
        return XML_STATUS_ERROR;
    }

    TTreeBuilder m_builder;
    const TImportLimits& m_limits;
    std::unique_ptr<XML_ParserStruct, TParserFree> m_parser;
    // Expat's name of an encoding the document declared under another name.
    const char* m_restartAs = nullptr;
    std::string m_unknownEncoding;
    std::string m_vekPrefix;
    std::vector<TElement> m_open;
    int m_depth = 0;
    bool m_sawRoot = false;
    int64_t m_lastEvent = 0;
    std::exception_ptr m_failure;
    std::string m_scratch;
};

}  // namespace

void ExportOpml(const TTreeList& tree, const std::string& fileName)
{
    tree.CommitEdits();
    TBufferedWriter file = CreateExportFile(fileName);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\" xmlns:vek=\"";
    out += OpmlNamespace;
    out += "\">\n  <head>\n    <title>";
    std::string scratch;
    std::string descScratch;
    // The title is the file's name, escaped as an attribute's value is: more
    // than element text needs, and still read back the same.
    std::string title;
    AppendXmlEscaped(title, AsUtf8(TitleOf(fileName), scratch), TXmlEscaping::OpmlAttribute);
    out += title;
    out += "</title>\n  </head>\n  <body>\n";
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int depth) {
            AppendIndent(out, depth);
            out += "<outline";
            const std::string_view name = AsUtf8(item.GetText(TreeListColumnName), scratch);
            if (AppendAttribute(out, "text", name))
                AppendAttribute(out, "vek:text", name, true);
            const std::string_view desc = AsUtf8(item.GetText(TreeListColumnDesc), descScratch);
            if (!desc.empty()) {
                if (AppendAttribute(out, "_note", desc))
                    AppendAttribute(out, "vek:note", desc, true);
            }
            if (item.ImageIndex() != 0)
                AppendAttribute(out, "vek:icon", std::to_string(item.ImageIndex()));
            out += item.HasChildren() ? ">\n" : "/>\n";
            if (out.size() >= (1 << 20)) {
                file.Write(out);
                out.clear();
            }
        },
        [&](const TTreeListTextNode& item, int depth) {
            if (!item.HasChildren())
                return;
            AppendIndent(out, depth);
            out += "</outline>\n";
        });
    out += "  </body>\n</opml>\n";
    file.Write(out);
    file.Close();
}

void ReadOpml(TTreeList& tree, TByteSource& source, const TImportLimits& limits)
{
    TOpmlReader(tree, limits).Read(source);
}
