#pragma once

#include <QString>

#include <vector>

class CVornReport;

// A sheet of labels in rows and columns, lengths in hundredths of a millimetre: the page, the
// first label's top left corner, one label's size, the gaps between labels and how many go
// across and down.
struct CLabelSheet
{
    QString name;
    int pageWidth = 21000;
    int pageHeight = 29700;
    int top = 0;
    int left = 0;
    int labelWidth = 7000;
    int labelHeight = 3700;
    int gapAcross = 0;
    int gapDown = 0;
    int across = 3;
    int down = 8;

    // The sheets sold most, by name ("A4 3 x 8 (70 x 37 mm)").
    static const std::vector<CLabelSheet> &Presets();

    // Whether the labels fit on the page, each row's gap below it included; the message says
    // what is wrong when they do not.
    bool Check(QString &message) const;

    // The top left corner of label number index (from 0, across then down) on its sheet.
    int LabelLeft(int index) const;
    int LabelTop(int index) const;

    // Makes the report a new label report of this sheet: its page, a page header and footer as
    // the sheet's top and bottom margins, and a Report Contents band "Labels" of one label with
    // its columns set, ready for fields and a connection.
    void MakeReport(CVornReport &report) const;
};
