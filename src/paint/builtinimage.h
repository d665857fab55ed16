#pragma once

#include <QByteArrayView>

class QImageReader;

// Names the format of bytes that Qt decodes itself (a PNG file) to the reader, and stops it
// from guessing: a reader that guesses asks every image-format plug-in first, which loads them
// all, before it tries its own decoders. Any other bytes leave the reader as it was, guessing.
void PreferBuiltInDecoder(QImageReader &reader, QByteArrayView bytes);
