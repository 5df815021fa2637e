#include "net/InternetCheck.h"

#include "net/EIdHTTPProtocolException.h"
#include "net/TIdHTTP.h"

bool CheckInternetConnection(const QString& probeUrl, int connectTimeoutMs, int requestTimeoutMs)
{
    TIdHTTP http;
    http.setConnectTimeoutMs(connectTimeoutMs);
    http.setRequestTimeoutMs(requestTimeoutMs);
    // Any answer means the internet is there; a host that then trickles or
    // never ends its page must not keep the start waiting or fill memory.
    http.setStatusLineOnly(true);
    try {
        http.Get(probeUrl);
        return true;
    } catch (const EIdHTTPProtocolException&) {
        return true;
    } catch (...) {
        return false;
    }
}
