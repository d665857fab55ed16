#pragma once

#include <QByteArray>

#include <map>
#include <utility>
#include <vector>

// One value of a PDF's object syntax, as the page writer writes it: enough of the syntax to read
// a written PDF back, change its references and write it again.
struct CPdfValue
{
    enum class EKind { Token, Name, String, Array, Dict, Ref };

    EKind kind = EKind::Token;
    // A number, true, false or null as written (Token); a name without its slash (Name); a
    // string with its delimiters, as written (String).
    QByteArray text;
    int ref = 0; // the object a reference names
    std::vector<CPdfValue> items; // an array's items
    std::vector<std::pair<QByteArray, CPdfValue>> entries; // a dictionary's, in written order

    const CPdfValue *Find(const QByteArray &key) const;
    CPdfValue *Find(const QByteArray &key);
    bool IsName(const char *name) const { return kind == EKind::Name && text == name; }

    static CPdfValue MakeName(const QByteArray &name);
    static CPdfValue MakeToken(const QByteArray &token);
    static CPdfValue MakeRef(int object);

    // The value in PDF syntax.
    void Write(QByteArray &out) const;
};

// An object of a PDF: its value and, for a stream, the stream's bytes as stored (still
// compressed).
struct CPdfObject
{
    CPdfValue value;
    bool isStream = false;
    QByteArray stream;
};

// A PDF read from its bytes through its cross-reference table, objects parsed when first asked
// for. Only the classic table that the page writer writes is understood.
class CPdfDocument
{
public:
    // False when the bytes are no PDF of that kind.
    bool Load(const QByteArray &bytes);

    const CPdfValue &GetTrailer() const { return m_trailer; }
    // The bytes before the first object: the version line and the binary comment.
    QByteArray GetHeader() const;
    // The object, or null when it is not there or does not parse.
    const CPdfObject *Get(int number) const;
    // The value a reference leads to (itself when it is none); null for a broken reference.
    const CPdfValue *Resolve(const CPdfValue &value) const;
    // The page objects in order, through the page tree.
    bool ListPages(std::vector<int> &pages) const;

private:
    QByteArray m_bytes;
    std::map<int, qsizetype> m_offsets;
    CPdfValue m_trailer;
    mutable std::map<int, CPdfObject> m_objects;
};

// Parses one value at pos (advanced past it); false on a syntax it does not know.
bool ParsePdfValue(const QByteArray &bytes, qsizetype &pos, CPdfValue &value);
