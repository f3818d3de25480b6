// XML and XMLNode: reading text into trees and writing it back, the status of
// broken text, tree edits as scripts make them, and hostile input.
#include "LibraryTest.h"

#include "flash/script/builtins/NetworkClasses.h"

#include <random>

namespace flash::script {
namespace {

class XmlTest : public LibraryTest {
protected:
    XmlTest() { installXml(vm); }

    std::string parsed(std::string_view xml) { return text(make("XML", { Value(xml) })); }
    double status(std::string_view xml) { return get(make("XML", { Value(xml) }), "status").asNumber(); }
    // Host calls may collect: values the test holds across them live on the global object.
    Value keep(std::string_view name, Value value)
    {
        set(Value(vm.global()), name, value);
        return value;
    }
};

TEST_F(XmlTest, ReadsTextIntoATreeAndWritesItBack)
{
    EXPECT_EQ(run(R"(
        var x = new XML('<?xml version="1.0"?><!DOCTYPE n [<!ENTITY e "a>b">]><n id="7" lang=\'en\'>'
            + '<to>Tove &amp; &#74;&#x61;ni</to><!-- gone --><?php gone ?><body><![CDATA[<raw> &amp; ]]></body><br/></n>');
        trace(x.status + " " + x.xmlDecl + " " + x.docTypeDecl);
        var n = x.firstChild;
        trace(n.nodeType + " " + n.nodeName + " " + n.nodeValue + " " + n.attributes.id + n.attributes.lang);
        trace(n.childNodes.length + " " + n.firstChild.firstChild.nodeType + " " + n.firstChild.firstChild.nodeName);
        trace(n.firstChild.firstChild.nodeValue + "|" + n.childNodes[1].firstChild.nodeValue + "|" + n.lastChild.nodeName);
        trace(x.nodeType + " " + x.nodeName + " " + x.parentNode + " " + n.parentNode.nodeName + " " + (n.parentNode == x));
        trace(x);
        trace(new XML("text only & more").firstChild.nodeValue + "|" + new XML().toString() + "|" + new XML().status);
    )"),
              "0 <?xml version=\"1.0\"?> <!DOCTYPE n [<!ENTITY e \"a>b\">]>\n"
              "1 n null 7en\n"
              "3 3 null\n"
              "Tove & Jani|<raw> &amp; |br\n"
              "1 null null null true\n"
              // Attributes are written in for..in order, the most recent first, as the runtime writes them.
              "<?xml version=\"1.0\"?><!DOCTYPE n [<!ENTITY e \"a>b\">]><n lang=\"en\" id=\"7\"><to>Tove &amp; Jani</to>"
              "<body>&lt;raw&gt; &amp;amp; </body><br /></n>\n"
              "text only & more||0");
}

TEST_F(XmlTest, BrokenTextGivesTheRuntimeStatusAndKeepsWhatWasRead)
{
    const std::pair<const char*, int> cases[] = {
        { "<a><![CDATA[x</a>", -2 }, { "<?xml version", -3 }, { "<!DOCTYPE a [ <!ENTITY b 'c'>", -4 },
        { "<a><!-- x</a>", -5 },     { "<a b>", -6 },         { "<>", -6 },
        { "<a/", -6 },               { "a < b", -6 },         { "<a b=c/>", -6 },
        { "</>", -6 },               { "<a b=\"x></a>", -8 }, { "<a><b></b>", -9 },
        { "</a>", -10 },             { "<a></b>", -10 },      { "", 0 },
    };
    for (const auto& [xml, expected] : cases)
        EXPECT_EQ(status(xml), expected) << xml;
    EXPECT_EQ(parsed("<a x='1'><b>text"), "<a x=\"1\"><b>text</b></a>");
    EXPECT_EQ(parsed("<a/><b>1</b></c>"), "<a /><b>1</b>");
    // parseXML replaces the tree and the declarations.
    EXPECT_EQ(run(R"(
        var x = new XML("<?xml version='1.0'?><a/>");
        x.parseXML("<b/>");
        trace(x + " " + x.xmlDecl + " " + x.childNodes.length);
    )"),
              "<b /> undefined 1");
}

TEST_F(XmlTest, IgnoreWhiteDropsOnlyWhitespaceText)
{
    EXPECT_EQ(run(R"(
        var source = "<a>\n  <b> x </b>\t<c><![CDATA[ ]]></c>\r\n</a>";
        var kept = new XML(source);
        trace(kept.firstChild.childNodes.length);
        var x = new XML();
        x.ignoreWhite = true;
        x.parseXML(source);
        trace(x.firstChild.childNodes.length + " [" + x.firstChild.firstChild.firstChild.nodeValue + "]");
        XML.prototype.ignoreWhite = true;
        trace(new XML(source));
    )"),
              "5\n2 [ x ]\n<a><b> x </b><c> </c></a>");
}

TEST_F(XmlTest, EntitiesAreDecodedByTheMovieEncoding)
{
    const char* script = R"(
        var x = new XML("<a t='&lt;&gt;&amp;&quot;&apos;&#65;&#x42;'>&#233;&bogus;&#xZZ;&#0; & &amp</a>");
        trace(x.firstChild.attributes.t + "|" + escape(x.firstChild.firstChild.nodeValue));
        trace(x);
    )";
    EXPECT_EQ(run(script),
              "<>&\"'AB|%C3%A9%26bogus%3B%26%23xZZ%3B%26%230%3B%20%26%20%26amp\n"
              "<a t=\"&lt;&gt;&amp;&quot;&apos;AB\">\xC3\xA9&amp;bogus;&amp;#xZZ;&amp;#0; &amp; &amp;amp</a>");
    // A movie before SWF 6 holds text in its code page: the reference becomes one byte.
    EXPECT_EQ(run(R"(trace(escape(new XML("&#233;&#8364;").firstChild.nodeValue));)", 5), "%E9%26%238364%3B");
}

TEST_F(XmlTest, TreeEditsKeepLinksAndChildNodesInStep)
{
    EXPECT_EQ(run(R"(
        var x = new XML("<r/>");
        var r = x.firstChild;
        var kids = r.childNodes;
        var a = x.createElement("a"), b = x.createElement("b"), t = x.createTextNode("1 < 2");
        r.appendChild(a);
        r.appendChild(t);
        r.insertBefore(b, t);
        trace(x + " " + kids.length + " " + (r.childNodes == kids) + " " + t.nodeType + " " + b.nodeName);
        trace(a.nextSibling.nodeName + " " + t.previousSibling.nodeName + " " + a.previousSibling + " " + t.nextSibling);
        a.appendChild(t); // moves it
        trace(x + " " + kids.length + " " + b.nextSibling + " " + t.parentNode.nodeName);
        b.removeNode();
        trace(x + " " + kids[0].nodeName + " " + kids.length + " " + b.parentNode + " " + r.hasChildNodes() + b.hasChildNodes());
        a.appendChild(r);  // an ancestor: refused
        a.appendChild(a);
        r.insertBefore(b, t); // t is not r's child: refused
        r.firstChild = null; // read-only
        trace(x + " " + r.firstChild.nodeName);
        a.attributes.k = "v";
        var shallow = a.cloneNode(false), deep = a.cloneNode(true);
        deep.attributes.k = "w";
        deep.firstChild.nodeValue = "changed";
        trace(shallow + " " + deep + " " + a + " " + deep.parentNode + " " + (deep.firstChild.parentNode == deep));
        var n = new XMLNode(1, "made");
        n.nodeName = "renamed";
        trace(n + " " + new XMLNode(3, "t&t") + " " + (n instanceof XMLNode) + " " + (x instanceof XMLNode));
    )"),
              "<r><a /><b />1 &lt; 2</r> 3 true 3 b\n"
              "b b null null\n"
              "<r><a>1 &lt; 2</a><b /></r> 2 null a\n"
              "<r><a>1 &lt; 2</a></r> a 1 null truefalse\n"
              "<r><a>1 &lt; 2</a></r> a\n"
              "<a k=\"v\" /> <a k=\"w\">changed</a> <a k=\"v\">1 &lt; 2</a> null true\n"
              "<renamed /> t&amp;t true true");
}

TEST_F(XmlTest, NamespacesAreFoundUpTheTree)
{
    EXPECT_EQ(run(R"(
        var x = new XML('<r xmlns="urn:d" xmlns:p="urn:p"><p:a><b/></p:a></r>');
        var a = x.firstChild.firstChild, b = a.firstChild;
        trace(a.prefix + " " + a.localName + " " + a.namespaceURI + " [" + b.prefix + "] " + b.namespaceURI);
        trace(b.getNamespaceForPrefix("p") + " " + b.getPrefixForNamespace("urn:p") + " [" + b.getPrefixForNamespace("urn:d") + "] "
            + b.getNamespaceForPrefix("q") + " " + b.getPrefixForNamespace("urn:q"));
    )"),
              "p a urn:p [] urn:d\nurn:p p [] null null");
}

TEST_F(XmlTest, HostileInputStaysBounded)
{
    std::string deep;
    for (int i = 0; i < 100'000; ++i)
        deep += "<a>";
    EXPECT_EQ(status(deep), -7);
    std::string attributes = "<a";
    for (int i = 0; i < 1'100'000; ++i)
        attributes += " b=''";
    EXPECT_EQ(status(attributes + "/>"), -7);

    // A tree deeper than the C++ stack, built by scripts, still prints, clones and is collected.
    const Value root = keep("root", make("XMLNode", { 1, "a" }));
    Value at = root;
    for (int i = 0; i < 200'000; ++i) {
        const Value child = keep("child", make("XMLNode", { 1, "a" }));
        (void)call(at, "appendChild", { child });
        at = child;
    }
    EXPECT_EQ(run("trace(root.toString().length + ' ' + root.cloneNode(true).toString().length);"), "1400005 1400005");
    keep("root", Value());
    vm.collect();

    std::mt19937 random(7);
    constexpr std::string_view kAlphabet = "<>/=\"'&;#x![]CDATA-? \nab";
    for (int round = 0; round < 300; ++round) {
        std::string garbage(random() % 64, ' ');
        for (char& c : garbage)
            c = kAlphabet[random() % kAlphabet.size()];
        const Value x = keep("garbage", make("XML", { Value(garbage) }));
        const double s = get(x, "status").asNumber();
        EXPECT_TRUE(s <= 0 && s >= -10) << garbage;
        (void)call(x, "toString");
        (void)call(x, "cloneNode", { true });
    }

    // Every method and property on the wrong object, with odd arguments, answers harmlessly.
    const Value odd[] = { Value(), Value::null(), Value("x"), keep("plain", Value(vm.newObject())),
                          keep("text", make("XMLNode", { 3, "t" })) };
    for (const char* owner : { "XMLNode.prototype", "XML.prototype" }) {
        std::vector<Value> functions;
        for (const Property& p : global(owner).asObject()->properties().slots()) {
            for (const Value& fn : { p.value, Value(p.getter), Value(p.setter) })
                functions.push_back(fn);
        }
        for (const Value& fn : functions) {
            for (const Value& self : odd)
                (void)vm.call(fn, self, odd);
        }
    }
    EXPECT_TRUE(host.reports.empty());
}

} // namespace
} // namespace flash::script
