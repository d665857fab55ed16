#pragma once

#include <QTreeWidget>

// The tree of the Outline pane. Delete and Enter are handed on (the design view acts on them
// for the selected object); every other key moves through the tree as usual.
class COutlineCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit COutlineCtrl(QWidget *parent = nullptr);

signals:
    void viewKeyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
