#include "app/kelvane101_doc.h"

IMPLEMENT_DYNCREATE(CKelvane101Doc)
