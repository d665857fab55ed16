#pragma once

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
//     vantel-render REPORT.vnt -o OUT [--param BAND/NAME=VALUE]... [--page N] [--dpi N]
//     vantel-render --check REPORT.vnt [--param BAND/NAME=VALUE]...
//
// OUT ending in ".pdf" gets every page; ".png" gets page N (from 1) at the given resolution.
// --check runs nothing and writes nothing: it lists the report's problems.
struct CRenderArguments
{
    Q_DECLARE_TR_FUNCTIONS(CRenderArguments)

public:
    enum class Format { Pdf, Png };

    QString report;
    QString output;
    Format format = Format::Pdf;
    QList<CRenderParameter> parameters;
    int page = 1;
    int dpi = 96;
    bool help = false;
    bool version = false;
    bool check = false;

    // Reads the arguments that follow the program's name. False with one message for the
    // user when they make no sense; --help and --version need nothing else.
    bool Parse(const QStringList &arguments, QString &message);

    // The text --help prints.
    static QString Usage();

    // Splits BAND/NAME=VALUE: the part before the first '=' is split at its last '/'.
    static bool ParseParameter(const QString &text, CRenderParameter &parameter, QString &message);
};
