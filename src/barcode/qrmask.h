#pragma once

struct CModuleGrid;

// Chooses the mask pattern of a QR Code, as the barcode library would, faster than it does.
//
// grid is a QR Code of version 1 to 40 as the library encodes it with mask pattern 0; it
// becomes the same symbol with the pattern of the lowest penalty (runs of five modules or more,
// blocks of two by two, light-dark-light patterns that look like a finder, the share of dark
// modules), its format information written for that pattern. The scores are the library's:
// the symbol is the one it makes when it chooses the pattern itself. False, grid unchanged,
// when grid is no such symbol (its size or format information is not of a QR Code with mask
// pattern 0).
bool ChooseQrMask(CModuleGrid &grid);
