// Everything of the ZuUtils library.
#ifndef ZUUTILS_ZUUTILS_H
#define ZUUTILS_ZUUTILS_H

#include <ZuUtils/CCommandLineArguments.h>
#include <ZuUtils/CDisplayBits.h>
#include <ZuUtils/CTimeStamp.h>
#include <ZuUtils/CZuError.h>
#include <ZuUtils/ZuWin32Codes.h>

#endif
