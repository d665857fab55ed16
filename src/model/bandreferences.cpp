#include "bandreferences.h"

#include "namekey.h"
#include "vornkind.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("BandReferences", text);
}

QString Quoted(const QString &name)
{
    return u'"' + name + u'"';
}

bool IsPageBand(const CVornBand &band)
{
    return band.GetKind() == VornKind::PageHeader || band.GetKind() == VornKind::PageFooter;
}

} // namespace

std::vector<CBandReferenceProblem> FindBandReferenceProblems(const CVornReport &report)
{
    const auto &bands = report.GetBands();
    const int count = bands.GetCount();
    QHash<CNameKey, int> byName;
    byName.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (!byName.contains({bands[i]->GetName()}))
            byName.insert({bands[i]->GetName()}, i);
    }

    std::vector<CBandReferenceProblem> problems;
    // The band each band follows row by row, -1 for none. A page band's parent is not followed
    // (it prints on every page), nor is a parent that is a page band.
    std::vector<int> parent(size_t(count), -1);
    for (int i = 0; i < count; ++i) {
        const CVornBand &band = *bands[i];
        const QString &source = band.GetParentDataSource();
        if (!source.isEmpty()) {
            const int found = byName.value({source}, -1);
            if (found < 0) {
                problems.push_back({{i},
                                    Tr("The parent data source \"%1\" of the band \"%2\" is "
                                       "no band of the report")
                                            .arg(source, band.GetName())});
            } else if (bands[found]->GetKind() == VornKind::PageBreak) {
                problems.push_back({{i},
                                    Tr("The parent data source \"%1\" of the band \"%2\" is "
                                       "a page break, which has no rows")
                                            .arg(source, band.GetName())});
            } else if (!IsPageBand(band) && !IsPageBand(*bands[found])) {
                parent[size_t(i)] = found;
            }
        }
        if (!band.GetHeader().isEmpty() && !byName.contains({band.GetHeader()})) {
            problems.push_back({{i},
                                Tr("The group header \"%1\" of the band \"%2\" is no band of "
                                   "the report")
                                        .arg(band.GetHeader(), band.GetName()),
                                CBandReferenceProblem::Reference::GroupHeader});
        }
        if (!band.GetFooter().isEmpty() && !byName.contains({band.GetFooter()})) {
            problems.push_back({{i},
                                Tr("The group footer \"%1\" of the band \"%2\" is no band of "
                                   "the report")
                                        .arg(band.GetFooter(), band.GetName()),
                                CBandReferenceProblem::Reference::GroupFooter});
        }
    }

    // Each band has at most one parent, so a loop is found by walking up from every band not
    // yet seen; a walk that meets its own path has closed a loop.
    enum State : char { Unseen, OnPath, Done };
    std::vector<State> state(size_t(count), Unseen);
    std::vector<int> path;
    for (int start = 0; start < count; ++start) {
        path.clear();
        int at = start;
        while (at >= 0 && state[size_t(at)] == Unseen) {
            state[size_t(at)] = OnPath;
            path.push_back(at);
            at = parent[size_t(at)];
        }
        if (at >= 0 && state[size_t(at)] == OnPath) {
            std::vector<int> loop(std::find(path.begin(), path.end(), at), path.end());
            // Told from the loop's first band in list order, whichever band the walk began at.
            std::rotate(loop.begin(), std::min_element(loop.begin(), loop.end()), loop.end());
            CBandReferenceProblem problem {
                    loop, {}, CBandReferenceProblem::Reference::ParentDataSource};
            if (loop.size() == 1) {
                problem.message = Tr("The band \"%1\" names itself as its parent data source")
                                          .arg(bands[loop.front()]->GetName());
            } else {
                QStringList names;
                for (const int index : loop)
                    names << Quoted(bands[index]->GetName());
                names << names.front();
                problem.message = Tr("The parent data sources of these bands lead round in a "
                                     "loop: %1")
                                          .arg(names.join(u" -> "));
            }
            problems.push_back(std::move(problem));
        }
        for (const int index : path)
            state[size_t(index)] = Done;
    }
    std::stable_sort(problems.begin(), problems.end(), [](const auto &a, const auto &b) {
        return *std::min_element(a.bands.begin(), a.bands.end())
                < *std::min_element(b.bands.begin(), b.bands.end());
    });
    return problems;
}

bool CheckBandReferences(const CVornReport &report, QString &message)
{
    const std::vector<CBandReferenceProblem> problems = FindBandReferenceProblems(report);
    if (problems.empty())
        return true;
    message = problems.front().message;
    return false;
}
