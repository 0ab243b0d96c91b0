#pragma once

#include "model/project_finding.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

class CEffectZone;

// What a zone will show otherwise than the person meant, found from its settings alone
// (nothing is rendered): picture content the key colour turns dark or the screen cannot
// show, photos that collapse into a few blocks, text in colours the screen cannot show and
// highlights that turn into bars, lines and parts a zone never shows, pictures inside rich
// text that cannot be drawn, and faces that are not installed.
//
// Projects repeat their content (the default text, one logo in many windows): every answer
// is kept per content and size, so that a check of a large project costs about as much as
// its distinct content.
class CSignChecker
{
public:
    struct Finding
    {
        FindingKind kind;
        QString text;
    };

    CSignChecker();
    ~CSignChecker();
    CSignChecker(const CSignChecker&) = delete;
    CSignChecker& operator=(const CSignChecker&) = delete;

    // Adds the findings about the zone.
    void CheckZone(const CEffectZone& zone, std::vector<Finding>& findings);
    // A face named by a zone: a finding when it is neither installed nor stood in for.
    void CheckFace(const QString& face, std::vector<Finding>& findings);

private:
    struct Caches;
    std::unique_ptr<Caches> m_caches;
};
