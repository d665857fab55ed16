#include "pdfsplit.h"

#include "pdfcontent.h"
#include "pdfflate.h"
#include "pdffontcut.h"

#include <QCryptographicHash>

#include <algorithm>
#include <map>
#include <set>

namespace {

using EKind = CPdfValue::EKind;

// A stream's bytes, decoded when it is compressed; false for a filter other than Flate.
bool Decode(CPdfFlate &flate, const CPdfObject &object, QByteArray &out)
{
    const CPdfValue *filter = object.value.Find("Filter");
    if (!filter) {
        out = object.stream;
        return true;
    }
    return filter->IsName("FlateDecode") && flate.Inflate(object.stream, out);
}

// The letters before a resource name's trailing number, when that number is the object the
// name stands for ("F7" for object 7): such names are renamed after the new number, so that
// the names in a piece do not depend on where its objects were in the whole document.
QByteArray NumberedPrefix(const QByteArray &name, int object)
{
    const QByteArray number = QByteArray::number(object);
    if (name.size() <= number.size() || !name.endsWith(number))
        return QByteArray();
    return name.chopped(number.size());
}

// The glyphs one font shows in a piece: old glyph numbers in their new order, glyph 0 first.
struct CFontUse
{
    int number = 0;
    std::vector<int> glyphs {0};
    std::map<int, int> renumbered {{0, 0}};

    int Renumber(int glyph)
    {
        const auto [found, added] = renumbered.emplace(glyph, int(glyphs.size()));
        if (added)
            glyphs.push_back(glyph);
        return found->second;
    }
};

class CPieceBuilder
{
public:
    CPieceBuilder(const CPdfDocument &document, const QByteArray &header, CPdfSplitter::CMade &made,
                  CPdfFlate &flate)
        : m_document(document)
        , m_header(header)
        , m_made(made)
        , m_flate(flate)
    { }

    bool Build(const std::vector<int> &pages, QByteArray &out);

private:
    int Map(int source);
    int NewNumber(int source);
    bool Copy(const CPdfValue &in, CPdfValue &out);
    bool CopyDict(const CPdfValue &in, CPdfValue &out, const std::set<QByteArray> &skip);
    bool WriteQueued();
    bool WriteContent(const QByteArray &content, const CPdfValue &resources, QByteArray &out);
    bool WriteFont(int source, CFontUse &use);
    void Put(int number, const CPdfValue &value);
    void PutStream(int number, CPdfValue dict, const QByteArray &data);
    const QByteArray &Packed(int source, const CPdfObject &object);
    int Allocate() { return m_next++; }

    std::shared_ptr<const CPdfSplitter::CFontSource> ReadFontSource(int source,
                                                                    const CPdfObject &file,
                                                                    const CPdfObject *toUnicode,
                                                                    const CPdfValue &cidFont);

    const CPdfDocument &m_document;
    const QByteArray &m_header;
    CPdfSplitter::CMade &m_made;
    CPdfFlate &m_flate;
    std::set<int> m_pages;
    int m_pagesNode = 0;
    int m_sourcePagesNode = 0;
    int m_next = 1;
    std::map<int, int> m_numbers;
    std::vector<int> m_queue;
    std::map<int, const CPdfValue *> m_contentResources;
    std::map<int, CFontUse> m_fonts;
    std::map<int, QByteArray> m_objects;
};

int CPieceBuilder::Map(int source)
{
    const auto [found, added] = m_numbers.emplace(source, 0);
    if (added) {
        found->second = Allocate();
        m_queue.push_back(source);
    }
    return found->second;
}

int CPieceBuilder::NewNumber(int source)
{
    if (source == m_sourcePagesNode)
        return m_pagesNode;
    const CPdfObject *object = m_document.Get(source);
    if (!object)
        return 0;
    const CPdfValue *type = object->value.Find("Type");
    if (type && type->IsName("Page") && !m_pages.count(source))
        return 0; // a page of another piece
    if (type && type->IsName("Font")) {
        const CPdfValue *subtype = object->value.Find("Subtype");
        if (!subtype || !subtype->IsName("Type0"))
            return 0;
        CFontUse &use = m_fonts[source];
        if (use.number == 0)
            use.number = Allocate();
        return use.number;
    }
    return Map(source);
}

bool CPieceBuilder::Copy(const CPdfValue &in, CPdfValue &out)
{
    switch (in.kind) {
    case EKind::Ref: {
        const int number = NewNumber(in.ref);
        out = CPdfValue::MakeRef(number);
        return number > 0;
    }
    case EKind::Array:
        out = CPdfValue();
        out.kind = EKind::Array;
        out.items.resize(in.items.size());
        for (size_t i = 0; i < in.items.size(); ++i) {
            if (!Copy(in.items[i], out.items[i]))
                return false;
        }
        return true;
    case EKind::Dict:
        return CopyDict(in, out, {});
    default:
        out = in;
        return true;
    }
}

bool CPieceBuilder::CopyDict(const CPdfValue &in, CPdfValue &out, const std::set<QByteArray> &skip)
{
    out = CPdfValue();
    out.kind = EKind::Dict;
    int renamed = 0;
    for (const auto &[key, value] : in.entries) {
        if (skip.count(key))
            continue;
        CPdfValue copy;
        if (!Copy(value, copy))
            return false;
        QByteArray name = key;
        const QByteArray prefix
                = value.kind == EKind::Ref ? NumberedPrefix(key, value.ref) : QByteArray();
        if (!prefix.isEmpty()) {
            name = prefix + QByteArray::number(copy.ref);
            ++renamed;
        }
        out.entries.emplace_back(name, std::move(copy));
    }
    // A dictionary of resources named after their objects lists them in the order of their new
    // numbers, which follows the content.
    if (renamed > 1 && renamed == int(out.entries.size())) {
        std::sort(out.entries.begin(), out.entries.end(),
                  [](const auto &a, const auto &b) { return a.second.ref < b.second.ref; });
    }
    return true;
}

void CPieceBuilder::Put(int number, const CPdfValue &value)
{
    QByteArray text = QByteArray::number(number) + " 0 obj\n";
    value.Write(text);
    m_objects[number] = text + "\nendobj\n";
}

void CPieceBuilder::PutStream(int number, CPdfValue dict, const QByteArray &data)
{
    dict.entries.emplace_back("Length", CPdfValue::MakeToken(QByteArray::number(data.size())));
    QByteArray text = QByteArray::number(number) + " 0 obj\n";
    dict.Write(text);
    m_objects[number] = text + "\nstream\n" + data + "\nendstream\nendobj\n";
}

// A stream copied as it is, but for a Flate stream of stored blocks (a picture's mask in a
// document drawn under CStoredPdfStreams): that is compressed as the PDF writer would have,
// once for every piece of the document.
const QByteArray &CPieceBuilder::Packed(int source, const CPdfObject &object)
{
    const CPdfValue *filter = object.value.Find("Filter");
    if (!filter || !filter->IsName("FlateDecode") || !IsStoredFlate(object.stream))
        return object.stream;
    auto found = m_made.packed.find(source);
    if (found == m_made.packed.end()) {
        QByteArray plain;
        found = m_made.packed
                        .emplace(source,
                                 m_flate.Inflate(object.stream, plain) ? qCompress(plain).mid(4)
                                                                       : object.stream)
                        .first;
    }
    return found->second;
}

bool CPieceBuilder::WriteQueued()
{
    while (!m_queue.empty()) {
        const int source = m_queue.front();
        m_queue.erase(m_queue.begin());
        const int number = m_numbers[source];
        const CPdfObject *object = m_document.Get(source);
        if (!object)
            return false;
        if (m_pages.count(source)) {
            // A page's content is rewritten with the page's resources.
            const CPdfValue *resources = object->value.Find("Resources");
            resources = resources ? m_document.Resolve(*resources) : nullptr;
            const CPdfValue *contents = object->value.Find("Contents");
            if (!resources || !contents)
                return false;
            const std::vector<CPdfValue> parts = contents->kind == EKind::Array
                    ? contents->items
                    : std::vector<CPdfValue> {*contents};
            for (const CPdfValue &part : parts) {
                if (part.kind != EKind::Ref)
                    return false;
                m_contentResources[part.ref] = resources;
            }
        }
        if (!object->isStream) {
            CPdfValue copy;
            if (!Copy(object->value, copy))
                return false;
            Put(number, copy);
            continue;
        }
        const CPdfValue *own = object->value.Find("Resources");
        const CPdfValue *resources = own ? m_document.Resolve(*own) : nullptr;
        if (const auto found = m_contentResources.find(source); found != m_contentResources.end())
            resources = found->second;
        CPdfValue dict;
        if (!CopyDict(object->value, dict, {"Length"}))
            return false;
        if (!resources) {
            PutStream(number, dict, Packed(source, *object));
            continue;
        }
        QByteArray content;
        QByteArray rewritten;
        if (!Decode(m_flate, *object, content) || !WriteContent(content, *resources, rewritten))
            return false;
        PutStream(number, dict, dict.Find("Filter") ? m_flate.Deflate(rewritten) : rewritten);
    }
    return true;
}

bool CPieceBuilder::WriteContent(const QByteArray &content, const CPdfValue &resources,
                                 QByteArray &out)
{
    // The resources by name. Each gets its new number where the content first uses it, so that
    // the numbers follow the content and not the order of the whole document's objects.
    struct CNames final : IPdfContentNames
    {
        CPieceBuilder &builder;
        std::map<QByteArray, int> named;
        std::map<QByteArray, int> fonts;
        std::map<QByteArray, QByteArray> renames; // the names renamed so far, and how
        CFontUse *font = nullptr;

        explicit CNames(CPieceBuilder &b)
            : builder(b)
        { }
        bool Rename(const QByteArray &name, QByteArray &renamed) override
        {
            // A page names the same few resources over and over: each is renamed once.
            if (const auto done = renames.find(name); done != renames.end()) {
                renamed = done->second;
                return true;
            }
            const auto found = named.find(name);
            if (found == named.end())
                return true;
            const int number = builder.NewNumber(found->second);
            const QByteArray prefix = NumberedPrefix(name, found->second);
            if (!prefix.isEmpty())
                renamed = prefix + QByteArray::number(number);
            if (number > 0)
                renames.emplace(QByteArray(name.constData(), name.size()), renamed);
            return number > 0;
        }
        bool SelectFont(const QByteArray &name) override
        {
            const auto found = fonts.find(name);
            font = found != fonts.end() ? &builder.m_fonts[found->second] : nullptr;
            return font;
        }
        int Renumber(int glyph) override { return font->Renumber(glyph); }
    } names(*this);
    for (const auto &[category, entry] : resources.entries) {
        const CPdfValue *dict = m_document.Resolve(entry);
        if (!dict || dict->kind != EKind::Dict)
            continue;
        for (const auto &[name, value] : dict->entries) {
            if (value.kind != EKind::Ref)
                continue;
            names.named[name] = value.ref;
            if (category == "Font")
                names.fonts[name] = value.ref;
        }
    }
    return RewritePdfContent(content, names, out);
}

std::shared_ptr<const CPdfSplitter::CFontSource>
CPieceBuilder::ReadFontSource(int source, const CPdfObject &file, const CPdfObject *toUnicode,
                              const CPdfValue &cidFont)
{
    std::shared_ptr<const CPdfSplitter::CFontSource> &read = m_made.fonts[source];
    if (read)
        return read;
    auto font = std::make_shared<CPdfSplitter::CFontSource>();
    QByteArray cmap;
    if (!Decode(m_flate, file, font->program) || (toUnicode && !Decode(m_flate, *toUnicode, cmap)))
        return nullptr;
    font->toUnicode = PdfFontCut::ReadToUnicode(cmap);
    if (const CPdfValue *widths = cidFont.Find("W"))
        font->widths = PdfFontCut::ReadWidths(*widths);
    read = font;
    return read;
}

bool CPieceBuilder::WriteFont(int source, CFontUse &use)
{
    const CPdfObject *type0 = m_document.Get(source);
    const CPdfValue *descendants = type0 ? type0->value.Find("DescendantFonts") : nullptr;
    const CPdfValue *encoding = type0 ? type0->value.Find("Encoding") : nullptr;
    if (!descendants || descendants->kind != EKind::Array || descendants->items.size() != 1
        || !encoding || !encoding->IsName("Identity-H"))
        return false;
    const CPdfValue *cidFont = m_document.Resolve(descendants->items.front());
    const CPdfValue *map = cidFont ? cidFont->Find("CIDToGIDMap") : nullptr;
    const CPdfValue *subtype = cidFont ? cidFont->Find("Subtype") : nullptr;
    const CPdfValue *descriptorRef = cidFont ? cidFont->Find("FontDescriptor") : nullptr;
    const CPdfValue *descriptor = descriptorRef ? m_document.Resolve(*descriptorRef) : nullptr;
    const CPdfValue *fileRef = descriptor ? descriptor->Find("FontFile2") : nullptr;
    const CPdfObject *file
            = fileRef && fileRef->kind == EKind::Ref ? m_document.Get(fileRef->ref) : nullptr;
    const CPdfValue *toUnicodeRef = type0->value.Find("ToUnicode");
    const CPdfObject *toUnicode = toUnicodeRef && toUnicodeRef->kind == EKind::Ref
            ? m_document.Get(toUnicodeRef->ref)
            : nullptr;
    const CPdfValue *name = descriptor ? descriptor->Find("FontName") : nullptr;
    if (!subtype || !subtype->IsName("CIDFontType2") || (map && !map->IsName("Identity")) || !file
        || !file->isStream || !name || name->kind != EKind::Name)
        return false;
    const std::shared_ptr<const CPdfSplitter::CFontSource> read
            = ReadFontSource(source, *file, toUnicode, *cidFont);
    if (!read)
        return false;
    const auto [cutAt, added] = m_made.cuts.try_emplace({source, use.glyphs});
    CPdfSplitter::CFontCut &made = cutAt->second;
    if (added) {
        QByteArray cut;
        if (!PdfFontCut::CutTrueType(read->program, use.glyphs, cut)) {
            m_made.cuts.erase(cutAt);
            return false;
        }
        made.unicode = PdfFontCut::WriteToUnicode(read->toUnicode, use.glyphs);
        // The subset's tag (six capitals before the name) from what the subset holds.
        const QByteArray digest
                = QCryptographicHash::hash(cut + made.unicode, QCryptographicHash::Md5);
        for (int i = 0; i < 6; ++i)
            made.tag += char('A' + quint8(digest[i]) % 26);
        made.size = cut.size();
        made.packed = m_flate.Deflate(cut);
    }
    QByteArray base = name->text;
    if (base.size() > 7 && base[6] == '+')
        base = base.mid(7);

    const int cidNumber = Allocate();
    const int descriptorNumber = Allocate();
    const int fileNumber = Allocate();
    const int unicodeNumber = toUnicode ? Allocate() : 0;
    const bool hasCidSet = descriptor->Find("CIDSet");
    const int cidSetNumber = hasCidSet ? Allocate() : 0;

    CPdfValue font;
    if (!CopyDict(type0->value, font, {"DescendantFonts", "ToUnicode"}))
        return false;
    CPdfValue descendant;
    descendant.kind = EKind::Array;
    descendant.items.push_back(CPdfValue::MakeRef(cidNumber));
    font.entries.emplace_back("DescendantFonts", descendant);
    if (toUnicode)
        font.entries.emplace_back("ToUnicode", CPdfValue::MakeRef(unicodeNumber));
    Put(use.number, font);

    CPdfValue cid;
    if (!CopyDict(*cidFont, cid, {"W", "DW", "FontDescriptor"}))
        return false;
    const CPdfValue *fallback = cidFont->Find("DW");
    cid.entries.emplace_back("FontDescriptor", CPdfValue::MakeRef(descriptorNumber));
    cid.entries.emplace_back(
            "W",
            PdfFontCut::WriteWidths(read->widths, use.glyphs,
                                    fallback ? fallback->text : QByteArray("1000")));
    Put(cidNumber, cid);

    CPdfValue newDescriptor;
    if (!CopyDict(*descriptor, newDescriptor, {"FontName", "FontFile2", "CIDSet"}))
        return false;
    newDescriptor.entries.emplace_back("FontName", CPdfValue::MakeName(made.tag + '+' + base));
    newDescriptor.entries.emplace_back("FontFile2", CPdfValue::MakeRef(fileNumber));
    if (hasCidSet)
        newDescriptor.entries.emplace_back("CIDSet", CPdfValue::MakeRef(cidSetNumber));
    Put(descriptorNumber, newDescriptor);

    CPdfValue fileDict;
    fileDict.kind = EKind::Dict;
    fileDict.entries.emplace_back("Length1", CPdfValue::MakeToken(QByteArray::number(made.size)));
    fileDict.entries.emplace_back("Filter", CPdfValue::MakeName("FlateDecode"));
    PutStream(fileNumber, fileDict, made.packed);
    CPdfValue plain;
    plain.kind = EKind::Dict;
    if (toUnicode)
        PutStream(unicodeNumber, plain, made.unicode);
    if (hasCidSet)
        PutStream(cidSetNumber, plain, PdfFontCut::CidSet(int(use.glyphs.size())));
    // The font's dictionaries may have named objects of their own.
    return WriteQueued();
}

bool CPieceBuilder::Build(const std::vector<int> &pages, QByteArray &out)
{
    const CPdfValue &trailer = m_document.GetTrailer();
    const CPdfValue *info = trailer.Find("Info");
    const CPdfValue *root = trailer.Find("Root");
    const CPdfValue *catalog = root ? m_document.Resolve(*root) : nullptr;
    const CPdfValue *tree = catalog ? catalog->Find("Pages") : nullptr;
    const CPdfValue *treeNode = tree ? m_document.Resolve(*tree) : nullptr;
    if (!catalog || !tree || tree->kind != EKind::Ref || !treeNode)
        return false;
    m_sourcePagesNode = tree->ref;
    m_pages.insert(pages.begin(), pages.end());

    // The information first, then the catalog and its metadata: the dates and the PDF/A
    // metadata stay near the start of the file, where the date setter looks for them.
    const int infoNumber = info && info->kind == EKind::Ref ? Map(info->ref) : 0;
    const int catalogNumber = Allocate();
    m_pagesNode = Allocate();
    CPdfValue newCatalog;
    if (!CopyDict(*catalog, newCatalog, {}) || !WriteQueued())
        return false;
    Put(catalogNumber, newCatalog);

    CPdfValue kids;
    kids.kind = EKind::Array;
    for (const int page : pages)
        kids.items.push_back(CPdfValue::MakeRef(Map(page)));
    if (!WriteQueued())
        return false;
    // In the order the pages first use them: the source's order is that of the whole document.
    std::vector<std::pair<int, int>> fonts;
    for (const auto &[source, use] : m_fonts)
        fonts.emplace_back(use.number, source);
    std::sort(fonts.begin(), fonts.end());
    for (const auto &[number, source] : fonts) {
        if (!WriteFont(source, m_fonts[source]))
            return false;
    }
    CPdfValue node;
    if (!CopyDict(*treeNode, node, {"Kids", "Count", "Parent"}))
        return false;
    node.entries.emplace_back("Kids", kids);
    node.entries.emplace_back("Count", CPdfValue::MakeToken(QByteArray::number(pages.size())));
    Put(m_pagesNode, node);

    out = m_header;
    std::vector<qsizetype> offsets;
    for (int number = 1; number < m_next; ++number) {
        const auto found = m_objects.find(number);
        if (found == m_objects.end())
            return false;
        offsets.push_back(out.size());
        out += found->second;
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(m_next) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(m_next) + "\n/Root "
            + QByteArray::number(catalogNumber) + " 0 R\n";
    if (infoNumber > 0)
        out += "/Info " + QByteArray::number(infoNumber) + " 0 R\n";
    if (trailer.Find("ID")) {
        // An identifier from the content, as the date setter makes it.
        const QByteArray id = QCryptographicHash::hash(out, QCryptographicHash::Md5).toHex();
        out += "/ID [ <" + id + "> <" + id + "> ]\n";
    }
    out += ">>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return true;
}

} // namespace

CPdfSplitter::CPdfSplitter()
    : m_flate(std::make_unique<CPdfFlate>())
{ }

CPdfSplitter::~CPdfSplitter() = default;

bool CPdfSplitter::Load(const QByteArray &pdf)
{
    m_pages.clear();
    m_made = CMade();
    if (!m_document.Load(pdf) || !m_document.ListPages(m_pages))
        return false;
    m_header = m_document.GetHeader();
    return true;
}

bool CPdfSplitter::Extract(int first, int count, QByteArray &out) const
{
    if (first < 0 || count < 1 || first + count > GetPageCount())
        return false;
    CPieceBuilder builder(m_document, m_header, m_made, *m_flate);
    return builder.Build(std::vector<int>(m_pages.begin() + first, m_pages.begin() + first + count),
                         out);
}
