#include "net/InternetCheck.h"

#include "net/EIdHTTPProtocolException.h"
#include "net/TIdHTTP.h"

bool CheckInternetConnection(const QString& probeUrl)
{
    TIdHTTP http;
    try {
        http.Get(probeUrl);
        return true;
    } catch (const EIdHTTPProtocolException&) {
        return true;
    } catch (...) {
        return false;
    }
}
