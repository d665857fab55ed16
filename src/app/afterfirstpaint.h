#pragma once

#include <functional>

class QWidget;

// Runs `work` once, right after `widget` is painted for the first time: start-up work that
// nothing on screen waits for goes after the window shows. Nothing runs if the widget is
// destroyed first or never painted.
void RunAfterFirstPaint(QWidget *widget, std::function<void()> work);
