#include "text/InfoText.h"

#include <QDir>

QString InfoText::compose(const Facts& facts)
{
    QStringList t;
    t << QStringLiteral("Marvix Terminal   version %1").arg(facts.version) << QString();

    t << QStringLiteral("PRIVACY")
      << QStringLiteral("Marvix Terminal keeps no personal data. The callsigns you send or receive "
                        "are handled, and may be stored, by the DX cluster network, not by this "
                        "program.")
      << QString();

    t << QStringLiteral("WHAT IT IS")
      << QStringLiteral("Marvix Terminal is a Telnet terminal for the amateur-radio DX cluster "
                        "network. It tells you, visually and with an audio alarm, when an "
                        "important station listed in the DX bulletins (a DXpedition on the air "
                        "this month) is spotted.")
      << QStringLiteral("An internet connection is mandatory: without one the program closes "
                        "at start.")
      << QString()
      << QStringLiteral("The alert works only once you activate it: press the LIVE CHECK button, "
                        "top right, after you have logged in. The \"Live check\" lamp turns green.")
      << QString();

    t << QStringLiteral("STEPS TO FOLLOW")
      << QStringLiteral("1. Choose an active node in the list at the bottom left. Click a node's "
                        "address to test it: a green \"V\" shows that it answers, an \"N\" that "
                        "it cannot be reached.")
      << QStringLiteral("2. Press CONNECT. When the node asks for your login, write your callsign "
                        "in the command line and press ENTER.")
      << QStringLiteral("3. Activate the LIVE CHECK.") << QString();

    t << QStringLiteral("LOOKING UP AND TUNING")
      << QStringLiteral("Click a callsign in the list \"Dx Spotted from DxPeditions List\" to look "
                        "the station up on QRZ.com in your browser.")
      << QStringLiteral("Click the frequency of a line in the pane below the terminal (or of a "
                        "spot in the terminal) to tune your radio, once Rig 1 or Rig 2 is chosen "
                        "and rig control is set up.")
      << QString();

    t << QStringLiteral("NODES")
      << QStringLiteral("When a node drops the connection, restart the program. Use different "
                        "nodes: some nodes admit only one connection per address.")
      << QString();

    t << QStringLiteral("YOUR FILES");
    const QString nodes = facts.nodeListPath.isEmpty()
                              ? QStringLiteral("\"nodes.txt\"")
                              : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(
                                                                 facts.nodeListPath));
    t << QStringLiteral("The node list %1 may be edited with any text editor, one node per line "
                        "in the form")
             .arg(nodes)
      << QStringLiteral("    name_of_node;address;port")
      << QStringLiteral("below the heading line. No blank rows.");
    if (!facts.settingsFolder.isEmpty())
        t << QStringLiteral("Your theme, terminal font and chosen node are kept in settings.ini "
                            "and settings2.ini in %1.")
                 .arg(QDir::toNativeSeparators(facts.settingsFolder));
    for (const QString& note : facts.fileNotes)
        t << note;
    t << QString();

    t << QStringLiteral("DISCLAIMER")
      << QStringLiteral("This program is provided as it is, without warranty of any kind. The "
                        "authors are not liable for any damage or loss that comes from its use. "
                        "Spots, DXpedition lists and the pages it opens come from third parties "
                        "and may be wrong or out of date. Operate your station within the terms "
                        "of your licence.");
    return t.join(QLatin1Char('\n'));
}
