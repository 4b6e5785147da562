// The pictures of tuning with evidence (phase view, a sum with its
// alignment advice, A/B, several positions), taken last so that they change
// nothing the other pictures show. strSuffix tells the languages' files apart.
#pragma once

#include <QString>
#include <vector>

#include "MeasurementFile.h"

class CQM7100View;
class QPixmap;
class QWidget;

// Shared with Screenshots.cpp: wait until the processor has all edits, save
// a picture and say so.
bool Settle(CQM7100View& view, int nMs);
bool Save(const QPixmap& picture, const QString& strPath);
bool Save(QWidget* pWindow, const QString& strPath);
std::vector<MeasurementPoint> RoomPoints();

bool SaveEvidence(CQM7100View& view, const QString& strOut, const QString& strSuffix);
