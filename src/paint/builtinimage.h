#pragma once

#include <QByteArrayView>

class QImageReader;

// Names the format of bytes that Qt decodes itself (a PNG file) to the reader, and stops it
// from guessing: a reader that guesses asks every image-format plug-in first, which loads them
// all, before it tries its own decoders. Any other bytes leave the reader as it was, guessing.
void PreferBuiltInDecoder(QImageReader &reader, QByteArrayView bytes);

// Qt refuses to decode a picture whose pixels would take over 128 MB, which leaves out a 16-bit
// colour picture of 25 megapixels (200 MB): it would print as an unreadable picture although the
// store of decoded pictures keeps 256 MB of them. Raises the limit once for the process to that
// budget (never lowers it); every decoder of report pictures calls it before it decodes.
void AllowLargePictures();
