#include "reports/rules_text.h"

namespace tv::rules {

const QStringList& lines()
{
    static const QStringList text = {
        QString(),
        QStringLiteral("BUT : "),
        QStringLiteral("Participer à la journée nationale des Moulins de France, promouvoir le diplôme des Moulins "
                       "et contribuer "),
        QStringLiteral("à la connaissance de notre patrimoine."),
        QString(),
        QStringLiteral("DATE : "),
        QStringLiteral("21 Juin 2013 de 6h à 16h UTC."),
        QString(),
        QStringLiteral("MODE : "),
        QStringLiteral("SSB et CW. Les contacts via relais ou satellite ne sont pas admis."),
        QString(),
        QStringLiteral("BANDE"),
        QStringLiteral("80 à 10m, (sauf bandes WARC), VHF 2m uniquement."),
        QString(),
        QStringLiteral("CATEGORIE:"),
        QStringLiteral("A- Opérateur de Moulins. Une seule activité, demande de référence obligatoire auprès du "
                       "correspondant "),
        QStringLiteral("départemental ou le DMF Manager."),
        QStringLiteral("Les Stations Belges, et autres : application de leur règlement diplôme respectif."),
        QStringLiteral("B- Autres opérateurs et SWL."),
        QString(),
        QStringLiteral("ECHANGE:"),
        QStringLiteral("Opérateur de Moulins, RST + Référence."),
        QStringLiteral("Opérateur français RST + N° de département et surtout pas de N° de série!"),
        QStringLiteral("Opérateur étranger RST + N° de serie."),
        QStringLiteral("Opérateur VHF, RST + N° de département et carré locator."),
        QString(),
        QStringLiteral("POINTS QSO:"),
        QStringLiteral("80 - 40m = 1 point"),
        QStringLiteral("20m = 3 points"),
        QStringLiteral("15m = 4 points"),
        QStringLiteral("10m = 5 points"),
        QStringLiteral("VHF = 1 point du Km"),
        QString(),
        QStringLiteral("MULTIPLICATEURS:"),
        QStringLiteral("10 pour un Moulin."),
        QStringLiteral("1 par département."),
        QStringLiteral("1 par pays DXCC."),
        QString(),
        QStringLiteral("Total = points QSO x ( Multis Moulins + Multis départements + Multis Pays DXCC)"),
        QString(),
        QStringLiteral("Envoi du compte rendu avant le 15/08/2013 à ") + QString::fromUtf8(kLogManager),
        QStringLiteral("Un  compte rendu par bande"),
        QString(),
        QStringLiteral("Le log doit contenir l'heure UTC, l'indicatif du correspondant, la bande,les RS envoyés et "
                       "reçus,"),
        QStringLiteral("les points et nouveaux multiplicateurs."),
        QStringLiteral("Une feuille récapitulative, contenant vos nom, prénom, adresse, la catégorie,le nombre de "
                       "QSO "),
        QStringLiteral("et liste des multis par bandes et mode"),
        QString(),
        QStringLiteral("NOTE: "),
        QStringLiteral("Un même Moulin contacté en CW et SSB, compte pour deux multis Moulin sur chaque bande."),
        QStringLiteral("La France compte pour un multiplicateur."),
        QStringLiteral("Les QSO en VHF ne sont pas cumulables avec ceux en HF"),
        QStringLiteral("Afin de ne pas pénaliser les stations en /P les OM résidents auront un classement "
                       "spécifique 'Resident'."),
        QString(),
        QStringLiteral("RECOMPENSES:"),
        QStringLiteral("Deux coupes pour la catégorie opérateur de Moulin HF en portable."),
        QStringLiteral("Un diplôme pour la catégorie opérateur de moulin résident."),
        QStringLiteral("Deux coupes pour la catégorie autre opérateur HF."),
        QStringLiteral("Une coupes pour la catégorie autre opérateur étranger."),
        QStringLiteral("Une coupe pour la catégorie opérateur de moulin VHF en portable."),
        QStringLiteral("Une coupe pour la categorie SWL F et une pour les SWL étrangers"),
        QStringLiteral("Coupes attribuées si au moins 5 logs par catégorie."),
    };
    return text;
}

} // namespace tv::rules
