#pragma once

#include "CQuorvinDoc.h"

// Sets up a document's content for a test: the change goes the documents's
// one way (slave list rebuilt, undo step kept) without updating a view, and
// the document then counts as unmodified, as if its file held this content.
template <typename Edit>
void PrepareContent(CQuorvinDoc& document, Edit edit)
{
    document.Change(
        [&edit](DocumentContent& content) {
            edit(content);
            return true;
        },
        ChangeEffect::Edit);
    document.SetModifiedFlag(false);
}
