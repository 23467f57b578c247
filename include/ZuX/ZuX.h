// Everything a caller of ZuX needs.
#ifndef ZUX_ZUX_H
#define ZUX_ZUX_H

#include <ZuX/BZuXFormat.h>
#include <ZuX/BZuXLoad.h>
#include <ZuX/CZuX.h>
#include <ZuX/CZuXAttribute.h>
#include <ZuX/CZuXDocument.h>
#include <ZuX/CZuXNode.h>
#include <ZuX/CZuXPathNode.h>
#include <ZuX/CZuXPathNodeSet.h>
#include <ZuX/Version.h>

#endif
