#pragma once

#include "exportoptions.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// One --param BAND/NAME=VALUE of the command line.
struct CRenderParameter
{
    QString band;
    QString name;
    QString value;
};

// What vantel-render was asked to do:
//
//     vantel-render REPORT.vnt -o OUT [--param BAND/NAME=VALUE]... [--pdfa]
//                   [--page N | --pages A-B] [--dpi N]
//
// The output's suffix names the format: ".pdf" (PDF/A-1b with --pdfa), ".png" and ".svg"
// (page N, or with one "%d" in the name every page or the pages A to B, each in a file of its
// own), ".html", ".csv" and ".xlsx".
//
//     vantel-render --check REPORT.vnt [--param BAND/NAME=VALUE]...
//
// --check runs nothing and writes nothing: it lists the report's problems.
//
//     vantel-render REPORT.vnt (--each "SELECT ..." | --each-file LIST.csv) -o 'OUT-{COLUMN}.pdf'
//                   [--shard K/N] [--skip-existing] ...
//
// A batch: the report once for each row of the list, a file per row.
//
//     vantel-render REPORT.vnt --print [QUEUE] [--copies N] [--pages A-B] [--each ...]
//
// Printing through CUPS instead of writing a file; with a list, one job per row.
struct CRenderArguments
{
    Q_DECLARE_TR_FUNCTIONS(CRenderArguments)

public:
    QString report;
    QString output;
    ExportFormat format = ExportFormat::Pdf;
    QList<CRenderParameter> parameters;
    bool pdfa = false;
    int page = 1; // the first page of a PNG or SVG
    int lastPage = 0; // with "%d": the last page, 0 for the last there is
    int dpi = 96;
    int skipLabels = -1; // labels left empty on the first sheet; -1: as the report says
    bool help = false;
    bool version = false;
    bool check = false;
    // A batch: the list query, or the CSV file that holds the list.
    QString eachQuery;
    QString eachFile;
    int shard = 0; // the rows whose position modulo shards is shard
    int shards = 1;
    bool skipExisting = false;
    // --print: the pages go to a CUPS queue (empty: the default one) instead of a file.
    bool print = false;
    QString printQueue;
    int copies = 1;

    bool IsBatch() const { return !eachQuery.isEmpty() || !eachFile.isEmpty(); }

    // Reads the arguments that follow the program's name. False with one message for the
    // user when they make no sense; --help and --version need nothing else.
    bool Parse(const QStringList &arguments, QString &message);

    // The text --help prints.
    static QString Usage();

    // Splits BAND/NAME=VALUE: the part before the first '=' is split at its last '/'.
    static bool ParseParameter(const QString &text, CRenderParameter &parameter, QString &message);
};
