#pragma once
// Run-time class records, so the document template can create the document, frame and view
// from descriptions handed to it at start-up.

class CObject;

struct CRuntimeClass {
    const char* className;
    CObject* (*createObject)();
    CObject* CreateObject() const { return createObject ? createObject() : nullptr; }
};

class CObject {
public:
    virtual ~CObject() = default;
};

#define DECLARE_DYNCREATE(theClass)                 \
public:                                             \
    static const CRuntimeClass class##theClass;     \
    static CObject* CreateObject() { return new theClass; }

#define IMPLEMENT_DYNCREATE(theClass) \
    const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)
