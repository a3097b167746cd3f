#pragma once

#include "setupdocument.h"

#include <QJsonObject>

// A set-up document as JSON, keyed by the document's member names:
// "Version" (text), "Addresses" (array of texts), "Values" (array of
// integers), "PLSChannelCount", "PLSScale", "ResolverOffset", "PLSProgram"
// (integers), "SpeedCompensation" (8 integers), "OnSetpoints" and
// "OffSetpoints" (16 integers each, channel 0 first).
QJsonObject documentToJson(const SetupDocument& document);
