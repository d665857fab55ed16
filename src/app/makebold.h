#pragma once

class QWidget;

// Shows the widget's text in the program's one bold font. The font is made on
// the first call from that widget's font with weight 700 and kept until exit;
// later widgets get the same font, whatever their own font was.
void MakeBold(QWidget *widget);
