#pragma once

#include "vantelengine.h"

// The value callback handed to the reporting engine. The context is the
// CVornParameters list gathered for the run; the contract is the one of
// VntValueCallback in vantelengine.h.
extern "C" int AnswerParameterValue(const char16_t *band, const char16_t *name, char16_t *value,
                                    void *context);
