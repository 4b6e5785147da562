// The OpenAPI 3 document of the service's API, made from the route table
// so that it names exactly the routes served.
//
// Threads: pure.
#pragma once

#include "RoomJson.h"

Json OpenApiDocument();
