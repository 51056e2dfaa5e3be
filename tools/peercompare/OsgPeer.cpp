// OpenSceneGraph 3.6: osgDB::readRefNodeFile through its .lwo and .3ds plugins, which open the
// pictures the model names with the JPEG plugin. The plugins are opened before the first load;
// the scene graph is dropped after each load.
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/NodeVisitor>
#include <osg/TriangleFunctor>
#include <osgDB/FileNameUtils>
#include <osgDB/ReadFile>
#include <osgDB/Registry>

#include <initializer_list>

#include "Peer.h"

namespace {
struct TriangleCounter {
    long count = 0;
    void operator()(const osg::Vec3&, const osg::Vec3&, const osg::Vec3&) { ++count; }
};

class TriangleVisitor : public osg::NodeVisitor {
public:
    TriangleVisitor() : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN) {}
    void apply(osg::Drawable& drawable) override
    {
        drawable.accept(triangles);
    }
    osg::TriangleFunctor<TriangleCounter> triangles;
};

class OsgPeer : public Peer {
public:
    void prepare(const std::string& file) override
    {
        osgDB::Registry* registry = osgDB::Registry::instance();
        for (const std::string& extension : {osgDB::getLowerCaseFileExtension(file), std::string("jpg")})
            registry->loadLibrary(registry->createLibraryNameForExtension(extension));
    }

    bool load(const std::string& file) override
    {
        node = osgDB::readRefNodeFile(file);
        return node.valid();
    }

    long triangles() override
    {
        TriangleVisitor visitor;
        if (node.valid())
            node->accept(visitor);
        return visitor.triangles.count;
    }

    void release() override { node = nullptr; }

private:
    osg::ref_ptr<osg::Node> node;
};
}

std::unique_ptr<Peer> makePeer()
{
    osg::setNotifyLevel(osg::FATAL);
    return std::make_unique<OsgPeer>();
}
