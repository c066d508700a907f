#include "common/account/QLApplicationDelegate.h"

#include "common/context/ProgramContext.h"

QLApplicationDelegate *QLApplicationDelegate::current()
{
    return ProgramContext::current().service<QLApplicationDelegate>();
}

void QLApplicationDelegate::setCurrent(QLApplicationDelegate *delegate)
{
    ProgramContext::current().setService(delegate);
}
