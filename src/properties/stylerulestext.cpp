#include "stylerulestext.h"

#include "colorref.h"

#include <QColor>
#include <QCoreApplication>

namespace {

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

QString ColorCell(const std::optional<quint32> &color)
{
    return color ? ColorRefToQColor(*color).name().toUpper() : QString();
}

QString FlagCell(const std::optional<int> &flag)
{
    return flag ? (*flag ? T("Yes") : T("No")) : QString();
}

bool ParseColor(const QString &text, std::optional<quint32> &color, QString &problem)
{
    color.reset();
    if (text.trimmed().isEmpty())
        return true;
    const QColor parsed = QColor::fromString(text.trimmed());
    if (!parsed.isValid()) {
        problem = T("\"%1\" is no colour: write it as #RRGGBB or a colour name").arg(text);
        return false;
    }
    color = QColorToColorRef(parsed);
    return true;
}

std::optional<int> ParseFlag(const QString &text)
{
    if (text == T("Yes"))
        return 1;
    if (text == T("No"))
        return 0;
    return std::nullopt;
}

} // namespace

namespace StyleRulesText {

QStringList Texts(const CStyleRule &rule)
{
    return {rule.when, ColorCell(rule.color), ColorCell(rule.bkColor), FlagCell(rule.bold),
            FlagCell(rule.italic)};
}

bool Parse(const QStringList &texts, CStyleRule &rule, QString &problem)
{
    rule = CStyleRule();
    if (texts.size() < ColumnCount)
        return true;
    rule.when = texts[When].trimmed();
    if (!ParseColor(texts[Color], rule.color, problem)
        || !ParseColor(texts[Background], rule.bkColor, problem))
        return false;
    rule.bold = ParseFlag(texts[Bold]);
    rule.italic = ParseFlag(texts[Italic]);
    return true;
}

QStringList FlagChoices()
{
    return {QString(), T("Yes"), T("No")};
}

} // namespace StyleRulesText

QString StyleRulesSummary(const CStyleRules &rules)
{
    if (rules.empty())
        return T("(none)");
    return rules.size() == 1 ? T("1 rule") : T("%1 rules").arg(rules.size());
}
