#pragma once

#include "stylerule.h"

#include <QStringList>

// Style rules as the style rules dialog shows them: one line of five texts per rule, its
// condition, its colour and background ("#RRGGBB", empty for unset), bold and italic ("Yes",
// "No", empty for unset).
namespace StyleRulesText {

enum Column { When, Color, Background, Bold, Italic, ColumnCount };

QStringList Texts(const CStyleRule &rule);
// The rule of five texts; false with the problem (a colour that is none) otherwise. A line with
// no condition is no rule: rule.when stays empty.
bool Parse(const QStringList &texts, CStyleRule &rule, QString &problem);
// "Yes", "No" and the empty text, as a bold or italic cell offers them.
QStringList FlagChoices();

} // namespace StyleRulesText

// What the Styles row shows: "(none)", "1 rule", "3 rules".
QString StyleRulesSummary(const CStyleRules &rules);
