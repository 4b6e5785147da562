// HTTPS and WSS with a self-signed certificate that openssl makes here.
#include <cstdlib>

#include "ServiceFixture.h"

TEST_F(ServiceTest, HttpsAndWss)
{
    const std::string strCert = (m_folder / "cert.pem").string();
    const std::string strKey = (m_folder / "key.pem").string();
    const std::string strCommand = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 -keyout '" +
                                   strKey + "' -out '" + strCert + "' 2>/dev/null";
    ASSERT_EQ(std::system(strCommand.c_str()), 0);
    StopService();
    ServerOptions options = FastOptions();
    options.strCertFile = strCert;
    options.strKeyFile = strKey;
    StartService(options);

    EXPECT_EQ(test_client::Request(Port(), "GET", "/api/rooms", m_strInstaller, "", true).nStatus, 200);
    EXPECT_EQ(test_client::Request(Port(), "GET", "/api/rooms", m_strInstaller).nStatus, 0);  // no plain HTTP
    test_client::CWssClient wss(test_client::ClientTls());
    ASSERT_TRUE(wss.Open(Port(), "/api/events?rooms=Room%201&token=" + m_strInstaller));
    const std::optional<Json> state = wss.Next();
    ASSERT_TRUE(state);
    EXPECT_EQ((*state)["room"], "Room 1");
}
