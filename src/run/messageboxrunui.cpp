#include "messageboxrunui.h"

#include "reportparametersdlg.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

QString Caption()
{
    return QCoreApplication::translate("Vantel", "Vantel");
}

// A message box's label breaks lines between words only: a long run without
// blanks (a path, a connection string, an engine's dump) would show as one
// line cut at the screen's edge.
bool HasLongWord(const QString &text)
{
    constexpr qsizetype longest = 60;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longest)
            return true;
    }
    return false;
}

// Shows the text in a read-only box of its own instead of the label, broken
// anywhere a line must be broken; the box's text stays the message as given.
void WrapAnywhere(QMessageBox &box, const QString &text)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    const int index = label && grid ? grid->indexOf(label) : -1;
    if (index < 0)
        return;
    int row = 0;
    int column = 0;
    int rows = 0;
    int columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);

    auto *view = new QPlainTextEdit(&box);
    view->setObjectName(QStringLiteral("messageText"));
    view->setPlainText(text);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, box.palette().color(QPalette::Window));
    view->setPalette(palette);
    // As wide as a message box's text usually is; as high as the wrapped text, up to a
    // scrolling limit.
    const int width = view->fontMetrics().averageCharWidth() * 70;
    QTextLayout layout(text, view->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    const int margins = 2 * int(view->document()->documentMargin()) + 4;
    view->setFixedWidth(width + margins);
    view->setFixedHeight(view->fontMetrics().lineSpacing() * std::clamp(lines, 1, 24) + margins);
    label->hide();
    grid->addWidget(view, row, column, rows, columns);
}

} // namespace

CMessageBoxRunUi::CMessageBoxRunUi(QWidget *parent)
    : m_parent(parent)
{ }

void CMessageBoxRunUi::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, Caption(), text, QMessageBox::Ok, m_parent);
    // An engine's message is shown as it is written, never read as markup, and the user
    // may select and copy it.
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    if (HasLongWord(text))
        WrapAnywhere(box, text);
    box.exec();
}

bool CMessageBoxRunUi::AskYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, Caption(), text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool CMessageBoxRunUi::EditParameters(CVornParameters &parameters)
{
    CReportParametersDlg dialog(m_parent);
    dialog.SetParameters(parameters);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    parameters = dialog.GetParameters();
    return true;
}
