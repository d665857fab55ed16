#include "tablechoice.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 formatTag = 0x56544231; // "VTB1"

} // namespace

namespace TableChoice {

QByteArray Encode(const CTableChoice &choice)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << formatTag << choice.schema << choice.table << choice.columns;
    return bytes;
}

CTableChoice Decode(const QByteArray &bytes)
{
    QDataStream in(bytes);
    quint32 tag = 0;
    CTableChoice choice;
    in >> tag >> choice.schema >> choice.table >> choice.columns;
    if (in.status() != QDataStream::Ok || tag != formatTag)
        return {};
    return choice;
}

} // namespace TableChoice
