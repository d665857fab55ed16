#include "pdfobjects.h"

#include <functional>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{'
            || c == '}' || c == '/' || c == '%';
}

void SkipSpace(const QByteArray &bytes, qsizetype &pos)
{
    while (pos < bytes.size()) {
        if (IsSpace(bytes[pos])) {
            ++pos;
        } else if (bytes[pos] == '%') {
            while (pos < bytes.size() && bytes[pos] != '\n' && bytes[pos] != '\r')
                ++pos;
        } else {
            break;
        }
    }
}

QByteArray ReadWord(const QByteArray &bytes, qsizetype &pos)
{
    const qsizetype start = pos;
    while (pos < bytes.size() && !IsSpace(bytes[pos]) && !IsDelimiter(bytes[pos]))
        ++pos;
    return bytes.mid(start, pos - start);
}

bool IsInteger(const QByteArray &word)
{
    if (word.isEmpty())
        return false;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// The end of a literal string starting at pos (its opening parenthesis), -1 when it has none.
qsizetype StringEnd(const QByteArray &bytes, qsizetype pos)
{
    int depth = 0;
    for (; pos < bytes.size(); ++pos) {
        const char c = bytes[pos];
        if (c == '\\') {
            ++pos;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return pos + 1;
        }
    }
    return -1;
}

} // namespace

const CPdfValue *CPdfValue::Find(const QByteArray &key) const
{
    for (const auto &entry : entries) {
        if (entry.first == key)
            return &entry.second;
    }
    return nullptr;
}

CPdfValue *CPdfValue::Find(const QByteArray &key)
{
    for (auto &entry : entries) {
        if (entry.first == key)
            return &entry.second;
    }
    return nullptr;
}

CPdfValue CPdfValue::MakeName(const QByteArray &name)
{
    CPdfValue value;
    value.kind = EKind::Name;
    value.text = name;
    return value;
}

CPdfValue CPdfValue::MakeToken(const QByteArray &token)
{
    CPdfValue value;
    value.text = token;
    return value;
}

CPdfValue CPdfValue::MakeRef(int object)
{
    CPdfValue value;
    value.kind = EKind::Ref;
    value.ref = object;
    return value;
}

void CPdfValue::Write(QByteArray &out) const
{
    switch (kind) {
    case EKind::Token:
    case EKind::String:
        out += text;
        break;
    case EKind::Name:
        out += '/' + text;
        break;
    case EKind::Ref:
        out += QByteArray::number(ref) + " 0 R";
        break;
    case EKind::Array:
        out += '[';
        for (size_t i = 0; i < items.size(); ++i) {
            if (i > 0)
                out += ' ';
            items[i].Write(out);
        }
        out += ']';
        break;
    case EKind::Dict:
        out += "<<\n";
        for (const auto &entry : entries) {
            out += '/' + entry.first + ' ';
            entry.second.Write(out);
            out += '\n';
        }
        out += ">>";
        break;
    }
}

bool ParsePdfValue(const QByteArray &bytes, qsizetype &pos, CPdfValue &value)
{
    SkipSpace(bytes, pos);
    if (pos >= bytes.size())
        return false;
    const char c = bytes[pos];
    if (c == '/') {
        ++pos;
        value = CPdfValue::MakeName(ReadWord(bytes, pos));
        return true;
    }
    if (c == '<' && pos + 1 < bytes.size() && bytes[pos + 1] == '<') {
        pos += 2;
        value = CPdfValue();
        value.kind = CPdfValue::EKind::Dict;
        for (;;) {
            SkipSpace(bytes, pos);
            if (bytes.mid(pos, 2) == ">>") {
                pos += 2;
                return true;
            }
            CPdfValue key;
            CPdfValue item;
            if (!ParsePdfValue(bytes, pos, key) || key.kind != CPdfValue::EKind::Name
                || !ParsePdfValue(bytes, pos, item))
                return false;
            value.entries.emplace_back(key.text, std::move(item));
        }
    }
    if (c == '[') {
        ++pos;
        value = CPdfValue();
        value.kind = CPdfValue::EKind::Array;
        for (;;) {
            SkipSpace(bytes, pos);
            if (pos < bytes.size() && bytes[pos] == ']') {
                ++pos;
                return true;
            }
            CPdfValue item;
            if (!ParsePdfValue(bytes, pos, item))
                return false;
            value.items.push_back(std::move(item));
        }
    }
    if (c == '<' || c == '(') {
        const qsizetype end = c == '<' ? bytes.indexOf('>', pos) + 1 : StringEnd(bytes, pos);
        if (end <= 0)
            return false;
        value = CPdfValue();
        value.kind = CPdfValue::EKind::String;
        value.text = bytes.mid(pos, end - pos);
        pos = end;
        return true;
    }
    const QByteArray word = ReadWord(bytes, pos);
    if (word.isEmpty())
        return false;
    value = CPdfValue::MakeToken(word);
    // "N G R" is a reference.
    if (IsInteger(word)) {
        qsizetype ahead = pos;
        SkipSpace(bytes, ahead);
        const QByteArray generation = ReadWord(bytes, ahead);
        SkipSpace(bytes, ahead);
        if (IsInteger(generation) && ahead < bytes.size() && bytes[ahead] == 'R'
            && (ahead + 1 == bytes.size() || IsSpace(bytes[ahead + 1])
                || IsDelimiter(bytes[ahead + 1]))) {
            value = CPdfValue::MakeRef(word.toInt());
            pos = ahead + 1;
        }
    }
    return true;
}

bool CPdfDocument::Load(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_offsets.clear();
    m_objects.clear();
    const qsizetype start = bytes.lastIndexOf("startxref");
    if (start < 0)
        return false;
    qsizetype pos = start + 9;
    SkipSpace(bytes, pos);
    pos = ReadWord(bytes, pos).toLongLong();
    if (pos <= 0 || pos >= bytes.size() || bytes.mid(pos, 4) != "xref")
        return false;
    pos += 4;
    // Sections of "first count" and count entries "offset generation n|f".
    for (;;) {
        SkipSpace(bytes, pos);
        if (bytes.mid(pos, 7) == "trailer")
            break;
        const QByteArray first = ReadWord(bytes, pos);
        SkipSpace(bytes, pos);
        const QByteArray count = ReadWord(bytes, pos);
        if (!IsInteger(first) || !IsInteger(count))
            return false;
        for (int i = 0; i < count.toInt(); ++i) {
            SkipSpace(bytes, pos);
            const QByteArray offset = ReadWord(bytes, pos);
            SkipSpace(bytes, pos);
            ReadWord(bytes, pos);
            SkipSpace(bytes, pos);
            const QByteArray use = ReadWord(bytes, pos);
            if (!IsInteger(offset) || (use != "n" && use != "f"))
                return false;
            if (use == "n")
                m_offsets[first.toInt() + i] = offset.toLongLong();
        }
    }
    pos += 7;
    return ParsePdfValue(bytes, pos, m_trailer) && m_trailer.kind == CPdfValue::EKind::Dict;
}

QByteArray CPdfDocument::GetHeader() const
{
    qsizetype first = m_bytes.size();
    for (const auto &entry : m_offsets)
        first = std::min(first, entry.second);
    return m_bytes.left(first);
}

const CPdfObject *CPdfDocument::Get(int number) const
{
    if (const auto found = m_objects.find(number); found != m_objects.end())
        return &found->second;
    const auto offset = m_offsets.find(number);
    if (offset == m_offsets.end())
        return nullptr;
    qsizetype pos = offset->second;
    SkipSpace(m_bytes, pos);
    if (ReadWord(m_bytes, pos).toInt() != number)
        return nullptr;
    SkipSpace(m_bytes, pos);
    ReadWord(m_bytes, pos);
    SkipSpace(m_bytes, pos);
    if (ReadWord(m_bytes, pos) != "obj")
        return nullptr;
    CPdfObject object;
    if (!ParsePdfValue(m_bytes, pos, object.value))
        return nullptr;
    SkipSpace(m_bytes, pos);
    if (m_bytes.mid(pos, 6) == "stream") {
        pos += 6;
        if (m_bytes.mid(pos, 2) == "\r\n")
            pos += 2;
        else if (pos < m_bytes.size() && m_bytes[pos] == '\n')
            ++pos;
        const CPdfValue *length = object.value.Find("Length");
        if (length && length->kind == CPdfValue::EKind::Ref) {
            // The length object is read before this one is stored: no loop, as a length is a
            // number.
            const CPdfObject *lengthObject = length->ref != number ? Get(length->ref) : nullptr;
            length = lengthObject ? &lengthObject->value : nullptr;
        }
        bool ok = false;
        const qsizetype size = length ? length->text.toLongLong(&ok) : -1;
        if (!ok || size < 0 || pos + size > m_bytes.size())
            return nullptr;
        object.isStream = true;
        object.stream = m_bytes.mid(pos, size);
    }
    return &(m_objects[number] = std::move(object));
}

const CPdfValue *CPdfDocument::Resolve(const CPdfValue &value) const
{
    if (value.kind != CPdfValue::EKind::Ref)
        return &value;
    const CPdfObject *object = Get(value.ref);
    return object ? &object->value : nullptr;
}

bool CPdfDocument::ListPages(std::vector<int> &pages) const
{
    const CPdfValue *root = m_trailer.Find("Root");
    const CPdfValue *catalog = root ? Resolve(*root) : nullptr;
    const CPdfValue *tree = catalog ? catalog->Find("Pages") : nullptr;
    if (!tree || tree->kind != CPdfValue::EKind::Ref)
        return false;
    // The depth is bounded so that a tree that leads round fails instead of running on.
    const std::function<bool(int, int)> walk = [&](int node, int depth) {
        const CPdfObject *object = Get(node);
        if (!object || depth > 32)
            return false;
        if (object->value.Find("Type") && object->value.Find("Type")->IsName("Page")) {
            pages.push_back(node);
            return true;
        }
        const CPdfValue *kids = object->value.Find("Kids");
        if (!kids || kids->kind != CPdfValue::EKind::Array)
            return false;
        for (const CPdfValue &kid : kids->items) {
            if (kid.kind != CPdfValue::EKind::Ref || !walk(kid.ref, depth + 1))
                return false;
        }
        return true;
    };
    return walk(tree->ref, 0);
}
