#pragma once

#include "picturecache.h"
#include "textmeasurecache.h"

// What the page painter keeps between the paints of one view: decoded pictures and text
// measurements. Everything in it is found by what it was made from, so a change to the report
// shows on the next paint; what a paint does not use is dropped at its end.
struct CPaintCache
{
    CPictureCache pictures;
    CTextMeasureCache texts;

    void BeginPaint()
    {
        pictures.BeginPaint();
        texts.BeginPaint();
    }
    void EndPaint()
    {
        pictures.EndPaint();
        texts.EndPaint();
    }
};
