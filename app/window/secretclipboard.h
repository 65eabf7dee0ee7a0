#pragma once

class QMimeData;

// Marks clipboard data as secret, the way password managers do, so that
// clipboard managers do not keep it in their history.
void MarkSecret(QMimeData& data);
// Whether the data carries that mark.
bool IsMarkedSecret(const QMimeData& data);
