#pragma once
// The program's only document. It never holds data: the view keeps all state and opens and saves
// images itself.
#include "framework/framework.h"

class CKelvane101Doc : public CDocument {
    DECLARE_DYNCREATE(CKelvane101Doc)
};
