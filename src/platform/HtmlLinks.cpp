#include "HtmlLinks.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>

namespace pictra::platform {

namespace {

const xmlChar* x(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

bool named(const xmlNode* node, const char* name) { return xmlStrcasecmp(node->name, x(name)) == 0; }

const char* linkAttribute(const xmlNode* node) {
    if (named(node, "a") || named(node, "area")) return "href";
    if (named(node, "frame") || named(node, "iframe")) return "src";
    return nullptr;
}

void collect(const xmlNode* node, std::vector<std::string>& links) {
    // Iterative over siblings, recursive over children: a page nested very deep is
    // already flattened by the parser's own depth limit.
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            if (const char* attribute = linkAttribute(node)) {
                if (xmlChar* value = xmlGetProp(node, x(attribute))) {
                    links.emplace_back(reinterpret_cast<const char*>(value));
                    xmlFree(value);
                }
            }
            collect(node->children, links);
        }
    }
}

}  // namespace

std::vector<std::string> htmlLinks(const std::string& html) {
    std::vector<std::string> links;
    if (html.empty() || html.size() > static_cast<size_t>(INT_MAX)) return links;
    htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, nullptr,
                                    HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!doc) return links;
    collect(xmlDocGetRootElement(doc), links);
    xmlFreeDoc(doc);
    return links;
}

}  // namespace pictra::platform
