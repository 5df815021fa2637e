#pragma once

#include <QString>

// The start-up probe: a plain HTTP GET of a well-known site's root. Any
// answer of the server counts, a redirect or a 404 included; only a failure
// to reach it (no route, no name, refused, timed out) is false.
// The limits are those of the client: 10 s to connect, 30 s in all.
bool CheckInternetConnection(const QString& probeUrl, int connectTimeoutMs = 10000,
                             int requestTimeoutMs = 30000);
